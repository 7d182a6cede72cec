#include "glwidget.h"

#include "engine.h"
#include "music.h"
#include "renderer.h"
#include "timinglog.h"

#include <QDateTime>
#include <QKeyEvent>
#include <QTimer>

namespace {
const int kOverrunWait = 5;  // ms before the next tick after a frame overran
}

GLWidget::GLWidget(int fps, QWidget* parent)
    : QGLWidget(parent), m_timer(new QTimer(this)), m_fps(fps), m_lastTime(0)
{
    connect(m_timer, SIGNAL(timeout()), this, SLOT(timeOutSlot()));
    m_timer->start(timeFromFps(fps));
}

GLWidget::~GLWidget()
{
    delete m_timer;
    if (m_demo.isRunning()) {
        makeCurrent();  // the textures are deleted in this widget's context
        m_demo.stop();
    }
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
    updateGL();
}

void GLWidget::timeOutSlot()
{
    m_timer->stop();
    Engine* engine = Engine::GetInstance();
    const int now = engine->GetCurrentTime();
    update(float(now - m_lastTime));
    logFrame(now);
    m_lastTime = now;
    const int spent = engine->GetCurrentTime() - now;
    m_timer->start(rearmInterval(timeFromFps(m_fps), spent));
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
    m_log->frame(now, now - m_lastTime, audio);
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

void GLWidget::resizeGL(int width, int height)
{
    Engine::GetInstance()->GetRenderer()->ResizeWindow(width, height);
}

void GLWidget::paintGL()
{
    Engine::GetInstance()->Draw();
}
