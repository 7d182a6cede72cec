#include "endofdemo.h"

#include "timeline.h"

EndOfDemo::Action EndOfDemo::at(int engineTime) const
{
    // The last frame belongs to the timeline: its windows close inclusively.
    if (m_loop && engineTime > kTimelineEnd)
        return Action::Restart;
    if (m_exitAtEnd && engineTime >= kTimelineEnd + kTail)
        return Action::Quit;
    return Action::None;
}
