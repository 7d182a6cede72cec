#ifndef CAPTURESESSION_H
#define CAPTURESESSION_H

#include <QSize>

class Scene;

// The player's engine set-up without a window and without music: a
// WidgetRenderer initialised in the current GL context, the demo scene built
// by init_scene_1() as the current scene, the viewport at the frame size.
// Then the frame loop on a manual clock: tick(ms) moves engine time to `ms`
// and updates with dt = ms - the previous tick (the first dt counts from 0,
// where the player's clock starts). One session at a time: it drives the
// Engine singleton and hands it back empty, on its real clock, when destroyed.
class CaptureSession
{
public:
    explicit CaptureSession(const QSize& size);
    ~CaptureSession();
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    void tick(int ms);
    void draw();
    int lastTick() const { return m_lastTick; }

private:
    Scene* m_scene;
    int m_lastTick = 0;
};

#endif
