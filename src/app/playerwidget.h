#ifndef PLAYERWIDGET_H
#define PLAYERWIDGET_H

#include "devoverlay.h"
#include "endofdemo.h"
#include "glwidget.h"
#include "playerkeys.h"
#include "playeroptions.h"

#include <QElapsedTimer>

#include <memory>

class Transport;

// The player's window: the frame loop's GLWidget plus what the command line asks
// for. It starts at --start, loops or quits at the end of the timeline, and
// with --dev turns the demo maker's keys into pause, seek and step and draws
// the overlay. Without options it behaves exactly as GLWidget.
class PlayerWidget : public GLWidget
{
    Q_OBJECT

public:
    explicit PlayerWidget(const PlayerOptions& options, QWindow* parent = nullptr);
    ~PlayerWidget() override;

    Transport* GetTransport() const { return m_transport.get(); }
    // Frames drawn during the last whole second of real time.
    int GetMeasuredFps() const { return m_measuredFps; }

    void update(float dt) override;

protected slots:
    void timeOutSlot() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void initializeGL() override;
    void paintGL() override;

private:
    void perform(const PlayerKeys::Command& command);
    void showMovedPicture(int at);
    void seek(const PlayerKeys::Command& command);
    void reportSeek(int landed, int ms, int cpuMs);
    void countFrame();
    void drawOverlay();

    PlayerOptions m_options;
    PlayerKeys m_keys;
    EndOfDemo m_end;
    std::unique_ptr<Transport> m_transport;
    QElapsedTimer m_second;
    int m_framesThisSecond = 0;
    int m_measuredFps = 0;
    int m_lastSeek = -1;
};

#endif
