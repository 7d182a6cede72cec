#ifndef CLOCKSCRIPT_H
#define CLOCKSCRIPT_H

#include "engineclock.h"

#include <QString>
#include <QStringList>

// Plays a script of steps on an engine clock whose monotonic source reads
// `*source` (ns): "+N" moves the source on N ms; start, stop, pause, resume,
// jumpMS, manualMS and clear call the clock. Returns the first step it does
// not know, or an empty string.
inline QString playClockScript(EngineClock* clock, qint64* source, const QString& steps)
{
    for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
        if (step.startsWith('+'))
            *source += step.mid(1).toInt() * qint64(1000000);
        else if (step == "start")
            clock->start();
        else if (step == "stop")
            clock->stop();
        else if (step == "pause")
            clock->pause();
        else if (step == "resume")
            clock->resume();
        else if (step.startsWith("jump"))
            clock->jumpTo(step.mid(4).toInt());
        else if (step.startsWith("manual"))
            clock->setManualTime(step.mid(6).toInt());
        else if (step == "clear")
            clock->clearManualTime();
        else
            return step;
    }
    return QString();
}

#endif
