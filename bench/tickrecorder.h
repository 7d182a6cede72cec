#ifndef TICKRECORDER_H
#define TICKRECORDER_H

#include "glwidget.h"

#include <QElapsedTimer>

#include <vector>

// The player's widget, recording when its frame ticks come: the interval
// between one tick and the next (what the viewer sees as frame pacing), how
// long each update and repaint took, and the engine time of each tick, so
// that the figures can be told apart by sequence.
class TickRecorder : public GLWidget
{
public:
    TickRecorder();

    void update(float dt) override;

    // One entry per tick from the second tick on (the first one follows
    // start-up and says nothing about pacing): the milliseconds since the
    // previous tick, the work of this tick and its engine time.
    const std::vector<double>& intervals() const { return m_intervals; }
    const std::vector<double>& workTimes() const { return m_workTimes; }
    const std::vector<int>& engineTimes() const { return m_engineTimes; }
    // CPU time of every thread of the process during each tick's work: what
    // the work costs whatever else the machine runs (the rasteriser works in
    // threads of its own, so on an idle machine the wall time is less).
    const std::vector<double>& workCpuTimes() const { return m_workCpuTimes; }

private:
    QElapsedTimer m_clock;
    qint64 m_lastTickNs = -1;
    std::vector<double> m_intervals;
    std::vector<double> m_workTimes;
    std::vector<int> m_engineTimes;
    std::vector<double> m_workCpuTimes;
};

#endif
