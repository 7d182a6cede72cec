#ifndef TICKRECORDER_H
#define TICKRECORDER_H

#include "glwidget.h"

#include <QElapsedTimer>

#include <vector>

// The player's widget, recording when its frame ticks come: the interval
// between one tick and the next (what the viewer sees as frame pacing) and
// how long each update and repaint took.
class TickRecorder : public GLWidget
{
public:
    TickRecorder();

    void update(float dt) override;

    // Milliseconds between consecutive ticks, from the second tick on (the
    // first one follows start-up and says nothing about pacing).
    const std::vector<double>& intervals() const { return m_intervals; }
    const std::vector<double>& workTimes() const { return m_workTimes; }

private:
    QElapsedTimer m_clock;
    qint64 m_lastTickNs = -1;
    std::vector<double> m_intervals;
    std::vector<double> m_workTimes;
};

#endif
