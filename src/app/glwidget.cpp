#include "glwidget.h"

#include "engine.h"
#include "music.h"
#include "renderer.h"
#include "timinglog.h"

#include <QOpenGLContext>
#include <QDateTime>
#include <QKeyEvent>
#include <QSurfaceFormat>
#include <QTimer>

#include <GL/gl.h>

namespace {
const int kOverrunWait = 5;  // ms before the next tick after a frame overran

// The fixed pipeline with the depth buffer that StartDraw clears, and a swap
// that waits for the display's refresh where the driver can. No alpha
// channel: blending leaves alpha below 1, and a compositor would show the
// desktop through the picture.
QSurfaceFormat windowFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    format.setAlphaBufferSize(0);
    format.setSwapInterval(1);
    return format;
}
}  // namespace

GLWidget::GLWidget(int fps, QWindow* parent)
    : QOpenGLWindow(NoPartialUpdate, parent), m_timer(new QTimer(this)), m_fps(fps),
      m_lastTime(0)
{
    setFormat(windowFormat());
    connect(m_timer, SIGNAL(timeout()), this, SLOT(timeOutSlot()));
    m_timer->start(timeFromFps(fps));
    m_swapClock.start();
}

GLWidget::~GLWidget()
{
    delete m_timer;
    m_timer = nullptr;
    takeDemoDown();
}

// While the window still has its surface: the textures are deleted in its
// context.
void GLWidget::takeDemoDown()
{
    if (!m_demo.isRunning())
        return;
    makeCurrent();
    m_demo.stop();
    doneCurrent();
}

bool GLWidget::event(QEvent* event)
{
    if (event->type() == QEvent::Close)
        takeDemoDown();
    return QOpenGLWindow::event(event);
}

int GLWidget::timeFromFps(int fps)
{
    return fps == 0 ? 1000 : 1000 / fps;
}

int GLWidget::fpsFromTime(int ms)
{
    return ms == 0 ? 1000 : 1000 / ms;
}

int GLWidget::rearmInterval(int period, int spent)
{
    return spent < period ? period - spent : kOverrunWait;
}

void GLWidget::update(float dt)
{
    Engine::GetInstance()->Update(dt);
    repaintNow();
}

// What the window does on an expose, done here and now: the frame loop
// knows when its picture went to the screen.
void GLWidget::repaintNow()
{
    if (!isExposed() || !context())
        return;
    makeCurrent();
    paintGL();
    paintOverGL();
    context()->swapBuffers(this);
    frameSwapped();
}

void GLWidget::timeOutSlot()
{
    m_timer->stop();
    Engine* engine = Engine::GetInstance();
    const int now = engine->GetCurrentTime();
    m_inTick = true;
    m_swappedInTick = false;
    update(float(now - m_lastTime));
    m_inTick = false;
    logFrame(now);
    m_lastTime = now;
    const int spent = engine->GetCurrentTime() - now;
    if (m_timer)  // the window may have closed during the frame
        m_timer->start(nextTickIn(spent));
}

// With the display the swap has already waited for the refresh: the next
// frame starts at once, its clock reading just after that refresh. A frame
// that was not shown (the window is hidden, or a compositor stopped asking
// for frames for a while) waits for the timer instead of spinning.
int GLWidget::nextTickIn(int spent) const
{
    if (m_pacing.mode() == FramePacing::Mode::Timer || !m_swappedInTick)
        return rearmInterval(timeFromFps(m_fps), spent);
    return 0;
}

// While the pacing is being found out, each frame is finished before its
// swap, so that the swap does not wait for the drawing itself.
void GLWidget::paintOverGL()
{
    if (!m_inTick)
        return;
    if (m_pacing.mode() == FramePacing::Mode::Probing)
        glFinish();
    m_swapAsked = m_swapClock.nsecsElapsed() / 1e6;
}

// Only the loop's own frames count, not the repaints of an expose.
void GLWidget::frameSwapped()
{
    if (!m_inTick)
        return;
    m_swappedInTick = true;
    const FramePacing::Mode before = m_pacing.mode();
    m_pacing.swapped(m_swapAsked, m_swapClock.nsecsElapsed() / 1e6);
    if (m_pacing.mode() != before)
        reportPacing();
}

void GLWidget::SetTimingLog(TimingLog* log)
{
    m_log = log;
    if (m_log && m_pacing.mode() == FramePacing::Mode::Timer)
        reportPacing();
}

void GLWidget::reportPacing()
{
    if (!m_log)
        return;
    if (m_pacing.mode() == FramePacing::Mode::Display)
        m_log->pacing(TimingLog::Pacing::Display, m_pacing.refreshPeriod());
    else
        m_log->pacing(TimingLog::Pacing::Timer, timeFromFps(m_fps));
}

void GLWidget::logFrame(int now)
{
    if (!m_log)
        return;
    // The track moved on while the frame was drawn: compare it with the
    // engine time of this moment, not of the frame.
    const Engine* engine = Engine::GetInstance();
    const Music* music = engine->GetMusic();
    const int at = engine->GetCurrentTime();
    TimingLog::Audio audio;
    if (music) {
        audio = {music->GetAudioPosition(), music->GetExpectedPosition(at),
                 music->SeekCount()};
    }
    m_log->frame(now, now - m_lastTime, audio, m_pacing.takeRepeats());
}

void GLWidget::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
}

void GLWidget::initializeGL()
{
    m_demo.start();
    AnchorTimingLog();
}

void GLWidget::AnchorTimingLog()
{
    const int now = Engine::GetInstance()->GetCurrentTime();
    if (m_log)
        m_log->begin(QDateTime::currentMSecsSinceEpoch() - now, now);
}

// A closing window may still be resized or exposed after the demo was taken
// down with its renderer.
void GLWidget::resizeGL(int width, int height)
{
    if (Renderer* renderer = Engine::GetInstance()->GetRenderer())
        renderer->ResizeWindow(width, height);
}

void GLWidget::paintGL()
{
    Engine::GetInstance()->Draw();
}
