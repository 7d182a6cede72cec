#ifndef KEYFRAMECONTROLLER_H
#define KEYFRAMECONTROLLER_H

#include "controller.h"

#include <QVariant>

// Moves a value of its node towards time-ordered key frames: each step goes
// the fraction dt / (next - now) of the remaining way, so the value arrives
// when the key frame's time comes. After the last key frame it finishes, or
// shifts the whole sequence forward and plays it again m_repeat times.
class KeyFrameController : public Controller
{
public:
    struct KeyFrame {
        int time;        // engine ms at which the value is reached
        QVariant value;  // its type is the concrete controller's business
    };

    explicit KeyFrameController(WorldObject* parent);
    ~KeyFrameController() override;

    void SetRepeat(int repeat);
    int GetRepeat() const { return m_repeat; }
    int GetPasses() const { return m_passes; }
    // Frames outside the window are dropped; equal times go before the older.
    void AddKeyFrame(int time, const QVariant& value);
    const QList<KeyFrame*>& GetKeyFrames() const { return m_keyFrames; }
    // First key frame strictly after now, or null.
    KeyFrame* GetNextFrame(int now) const;
    // No key frame ahead: true when finished, otherwise the sequence restarted.
    bool OnLastFrame();

    bool Update(float dt) override;
    virtual bool DataUpdate(float dt, KeyFrame* next, float factor) = 0;

protected:
    int m_repeat;
    QList<KeyFrame*> m_keyFrames;
    int m_passes;
};

#endif
