#include "demoobject.h"

#include "engine.h"

void DemoObject::SetTime(int start, int end)
{
    m_start = start;
    m_end = end;
}

bool DemoObject::Exists(int now) const
{
    if (m_start == 0 && m_end == 0)
        return true;
    if (now == 0)
        now = Engine::GetInstance()->GetCurrentTime();
    return m_start <= now && now <= m_end;
}
