#include "demoobject.h"

#include "engineclock.h"

void DemoObject::SetTime(int start, int end)
{
    m_start = start;
    m_end = end;
}

bool DemoObject::existsAt(int now) const
{
    return Covers(now == 0 ? EngineClock::GetInstance()->now() : now);
}
