#include "demoobject.h"

#include "engine.h"

void DemoObject::SetTime(int start, int end)
{
    m_start = start;
    m_end = end;
}

bool DemoObject::existsAt(int now) const
{
    if (now == 0)
        now = Engine::GetInstance()->GetCurrentTime();
    return m_start <= now && now <= m_end;
}
