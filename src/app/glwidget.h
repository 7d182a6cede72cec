#ifndef GLWIDGET_H
#define GLWIDGET_H

#include "demorun.h"
#include "framepacing.h"

#include <QElapsedTimer>
#include <QOpenGLWindow>

class QTimer;
class TimingLog;

// The one window: starts the demo when its GL context exists, forwards the GL
// callbacks to the engine and paces the demo: one new picture every refresh
// where the buffer swap waits for the display, otherwise a self-correcting
// timer that re-arms for the rest of each frame budget (FramePacing decides
// which). Takes the demo down again when it closes.
//
// A window of its own rather than a widget: a widget draws through an extra
// framebuffer and copies it to the screen, which costs llvmpipe about a
// third more per frame.
class GLWidget : public QOpenGLWindow
{
    Q_OBJECT

public:
    GLWidget(int fps, QWindow* parent);
    ~GLWidget() override;

    // Timer period for a frame rate: 1000 / fps, or 1000 for 0.
    static int timeFromFps(int fps);
    // The inverse rule: 1000 / ms, or 1000 for 0.
    static int fpsFromTime(int ms);
    // The wait before the next tick: the rest of the period, or 5 ms when
    // the frame took the whole period or more.
    static int rearmInterval(int period, int spent);

    // Advances the engine by dt ms and repaints synchronously.
    virtual void update(float dt);
    using QOpenGLWindow::update;

    QTimer* GetTimer() const { return m_timer; }
    DemoRun* GetDemo() { return &m_demo; }
    const FramePacing& GetPacing() const { return m_pacing; }
    // The frame timer paces the loop whatever the display does (--fps).
    void ForceTimer() { m_pacing = FramePacing(true); }
    // Reports every frame to `log` (not owned; null: no log).
    void SetTimingLog(TimingLog* log);

protected slots:
    virtual void timeOutSlot();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void paintOverGL() override;

    // Paints and swaps the picture before returning (nothing while unseen).
    void repaintNow();
    // After the clock was moved (a seek), the next tick measures from `ms`.
    void SetLastTime(int ms) { m_lastTime = ms; }
    // Ties the timing log, if any, to the engine clock as it now stands.
    void AnchorTimingLog();

private:
    void frameSwapped();
    int nextTickIn(int spent) const;
    void reportPacing();
    void logFrame(int now);
    void takeDemoDown();

    DemoRun m_demo;
    QTimer* m_timer;
    TimingLog* m_log = nullptr;
    FramePacing m_pacing;
    QElapsedTimer m_swapClock;
    bool m_inTick = false;
    bool m_swappedInTick = false;
    double m_swapAsked = 0;  // ms on m_swapClock: the frame was drawn
    int m_fps;
    int m_lastTime;
};

#endif
