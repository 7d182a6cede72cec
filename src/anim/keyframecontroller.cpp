#include "keyframecontroller.h"

#include "engineclock.h"

#include <algorithm>

KeyFrameController::KeyFrameController(WorldObject* parent)
    : Controller(parent), m_repeat(-1), m_passes(0)
{
}

KeyFrameController::~KeyFrameController()
{
    qDeleteAll(m_keyFrames);
    m_keyFrames.clear();
}

void KeyFrameController::SetRepeat(int repeat)
{
    m_repeat = repeat;
}

void KeyFrameController::AddKeyFrame(int time, const QVariant& value)
{
    if (!Exists(time))
        return;
    auto firstNotEarlier = std::find_if(m_keyFrames.begin(), m_keyFrames.end(),
                                        [time](const KeyFrame* k) { return k->time >= time; });
    m_keyFrames.insert(firstNotEarlier, new KeyFrame{time, value});
}

KeyFrameController::KeyFrame* KeyFrameController::GetNextFrame(int now) const
{
    for (KeyFrame* frame : m_keyFrames) {
        if (frame->time > now)
            return frame;
    }
    return nullptr;
}

bool KeyFrameController::OnLastFrame()
{
    ++m_passes;
    if (m_passes > m_repeat)
        return true;
    // The shift is measured from the window start, not from the last restart.
    const int shift = EngineClock::GetInstance()->now() - m_start;
    for (KeyFrame* frame : qAsConst(m_keyFrames))
        frame->time += shift;
    return false;
}

bool KeyFrameController::Update(float dt)
{
    if (!Exists(0))
        return false;
    const int now = EngineClock::GetInstance()->now();
    KeyFrame* next = GetNextFrame(now);
    if (!next) {
        if (OnLastFrame()) {
            OnFinish();
            return true;
        }
        next = GetNextFrame(now);
        // Nothing ahead even after the restart (no key frames, or all of them
        // at or before the window start): there is nothing to move towards,
        // so the controller finishes as if it had played its last pass.
        if (!next) {
            OnFinish();
            return true;
        }
    }
    const int remaining = std::max(next->time - now, 1);
    const float factor = std::min(dt / float(remaining), 1.0f);
    return DataUpdate(dt, next, factor);
}
