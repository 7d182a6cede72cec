#ifndef MANUALTIME_H
#define MANUALTIME_H

#include "engineclock.h"

// Puts the engine clock on a manual time for the lifetime of the guard and gives
// the real clock back afterwards, so one test cannot leak its time into the next.
class ManualTime
{
public:
    explicit ManualTime(int ms = 0) { set(ms); }
    ~ManualTime() { EngineClock::GetInstance()->clearManualTime(); }
    ManualTime(const ManualTime&) = delete;
    ManualTime& operator=(const ManualTime&) = delete;

    void set(int ms) { EngineClock::GetInstance()->setManualTime(ms); }

    // Moves the clock to ms and runs one update pass on `node` with the
    // frame time since the previous call, as the player's frame loop does.
    template <typename Node> void step(Node* node, int ms)
    {
        const float dt = float(ms - m_last);
        m_last = ms;
        set(ms);
        node->Update(dt);
    }

private:
    int m_last = 0;
};

#endif
