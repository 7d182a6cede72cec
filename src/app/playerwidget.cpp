#include "playerwidget.h"

#include "engine.h"
#include "scene.h"
#include "transport.h"
#include "worldobject.h"

#include <QKeyEvent>
#include <QTimer>

#include <cstdio>
#include <ctime>

PlayerWidget::PlayerWidget(const PlayerOptions& options, QWindow* parent)
    : GLWidget(options.fps, parent), m_options(options), m_keys(options.dev),
      m_end(options.loop, options.exitAtEnd)
{
    GetDemo()->setMusic(!options.mute, options.audioDelay);
    if (options.fpsForced)
        ForceTimer();
    m_second.start();
}

PlayerWidget::~PlayerWidget() = default;

// As GLWidget's, with the seek to --start before the timing log is tied to
// the clock.
void PlayerWidget::initializeGL()
{
    GetDemo()->start();
    m_transport = std::make_unique<Transport>(GetDemo(), m_options.fps);
    if (m_options.start > 0) {
        m_transport->seekTo(m_options.start);
        SetLastTime(m_options.start);
    }
    AnchorTimingLog();
}

// A paused picture is repainted (the overlay changes) but not advanced.
void PlayerWidget::update(float dt)
{
    if (m_transport && m_transport->isPaused())
        repaintNow();
    else
        GLWidget::update(dt);
}

// The end is looked at before the tick, so a restart shows engine time 0
// instead of one more black frame.
void PlayerWidget::timeOutSlot()
{
    switch (m_end.at(Engine::GetInstance()->GetCurrentTime())) {
    case EndOfDemo::Action::Quit:
        GetTimer()->stop();
        close();
        return;
    case EndOfDemo::Action::Restart:
        makeCurrent();  // the demo is built again, textures and all
        m_transport->restart();
        SetLastTime(0);  // the new run's clock starts at 0, as the first one's did
        AnchorTimingLog();
        break;
    case EndOfDemo::Action::None:
        break;
    }
    GLWidget::timeOutSlot();
}

void PlayerWidget::keyPressEvent(QKeyEvent* event)
{
    const bool paused = m_transport && m_transport->isPaused();
    perform(m_keys.command(event->key(), paused));
}

void PlayerWidget::perform(const PlayerKeys::Command& command)
{
    if (command.action == PlayerKeys::Action::Quit) {
        close();
        return;
    }
    if (!m_transport || command.action == PlayerKeys::Action::None)
        return;
    // The next tick still measures from the last one: the clock only held.
    if (command.action == PlayerKeys::Action::TogglePause) {
        m_transport->setPaused(!m_transport->isPaused());
        AnchorTimingLog();
        repaintNow();
        return;
    }
    makeCurrent();  // a seek rebuilds the demo, textures and all
    QElapsedTimer took;
    took.start();
    const std::clock_t processorBefore = std::clock();
    seek(command);
    const int landed = Engine::GetInstance()->GetCurrentTime();
    showMovedPicture(landed);
    const int processor = int((std::clock() - processorBefore) * 1000 / CLOCKS_PER_SEC);
    reportSeek(landed, int(took.elapsed()), processor);
}

void PlayerWidget::seek(const PlayerKeys::Command& command)
{
    const int now = Engine::GetInstance()->GetCurrentTime();
    switch (command.action) {
    case PlayerKeys::Action::SeekBy:
        return m_transport->seekTo(now + command.amount, true);
    case PlayerKeys::Action::SeekTo:
        return m_transport->seekTo(command.amount, true);
    case PlayerKeys::Action::StepFrames:
        return m_transport->stepFrames(command.amount);
    default:
        return;
    }
}

// How long a seek took, from the key to its picture on screen; the
// processor time beside it tells a busy machine from a slow seek.
void PlayerWidget::reportSeek(int landed, int ms, int cpuMs)
{
    m_lastSeek = ms;
    if (m_options.timingLog)
        std::fprintf(stderr, "quenvarix: seek to engine time %d took %d ms (processor %d ms)\n",
                     landed, ms, cpuMs);
}

// The demo stands at engine time `at`: the next tick measures from there,
// and its picture is on screen at once.
void PlayerWidget::showMovedPicture(int at)
{
    SetLastTime(at);
    AnchorTimingLog();
    repaintNow();
}

void PlayerWidget::paintGL()
{
    GLWidget::paintGL();
    countFrame();
    if (m_options.dev)
        drawOverlay();
}

void PlayerWidget::countFrame()
{
    ++m_framesThisSecond;
    if (m_second.elapsed() >= 1000) {
        m_measuredFps = m_framesThisSecond;
        m_framesThisSecond = 0;
        m_second.restart();
    }
}

void PlayerWidget::drawOverlay()
{
    Engine* engine = Engine::GetInstance();
    const Scene* scene = engine->GetScenes().value(engine->GetCurrentSceneIndex());
    DevOverlay::Readout readout;
    readout.engineTime = engine->GetCurrentTime();
    readout.fps = m_measuredFps;
    readout.paused = m_transport && m_transport->isPaused();
    readout.lastSeek = m_lastSeek;
    readout.sequences = DevOverlay::sequencesAt(scene ? scene->GetRoot() : nullptr,
                                                readout.engineTime);
    const qreal ratio = devicePixelRatio();
    DevOverlay::draw(DevOverlay::compose(DevOverlay::lines(readout)), int(width() * ratio),
                     int(height() * ratio));
}
