#ifndef GLWIDGET_H
#define GLWIDGET_H

#include "demorun.h"

#include <QGLWidget>

class QTimer;
class TimingLog;

// The one window: starts the demo when its GL context exists, forwards the GL
// callbacks to the engine and paces the demo with a self-correcting timer
// that re-arms for the rest of each frame budget. Takes the demo down again
// when destroyed.
class GLWidget : public QGLWidget
{
    Q_OBJECT

public:
    GLWidget(int fps, QWidget* parent);
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

    QTimer* GetTimer() const { return m_timer; }
    DemoRun* GetDemo() { return &m_demo; }
    // Reports every frame to `log` (not owned; null: no log).
    void SetTimingLog(TimingLog* log) { m_log = log; }

protected slots:
    virtual void timeOutSlot();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;

private:
    void logFrame(int now);

    DemoRun m_demo;
    QTimer* m_timer;
    TimingLog* m_log = nullptr;
    int m_fps;
    int m_lastTime;
};

#endif
