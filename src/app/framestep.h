#ifndef FRAMESTEP_H
#define FRAMESTEP_H

#include <QtGlobal>

// The player's frame grid, shared by its frame loop, its seeking and the
// capture tool: step k falls at k * 1000 / fps ms of engine time, in integer
// arithmetic (rounded down). When fps does not divide 1000 the steps differ
// by a millisecond (30 fps: 33, 33, 34, ...) and never drift: step fps * s is
// exactly at 1000 s. fps is at least 1.

// The engine time of step `step`.
inline int frameStepTime(qint64 step, int fps)
{
    return int(step * 1000 / fps);
}

// The number of steps before `span` ms: those k >= 0 with frameStepTime(k) < span.
inline int frameStepsBefore(qint64 span, int fps)
{
    return span <= 0 ? 0 : int((span * fps + 999) / 1000);
}

// The last step at or before `ms`: the largest k with frameStepTime(k) <= ms.
inline int frameStepAtOrBefore(int ms, int fps)
{
    return int((qint64(ms) * fps + fps - 1) / 1000);
}

#endif
