#include "demoobject.h"

#include "engineclock.h"

void DemoObject::SetTime(int start, int end)
{
    m_start = start;
    m_end = end;
}

bool DemoObject::existsAt(int now) const
{
    if (now == 0)
        now = EngineClock::GetInstance()->now();
    return m_start <= now && now <= m_end;
}
