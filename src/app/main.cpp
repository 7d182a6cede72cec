#include "engine.h"
#include "glwidget.h"
#include "playeroptions.h"
#include "timinglog.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>
#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quenvarix");
    PlayerOptions options;
    switch (options.parse(QApplication::arguments())) {
    case PlayerOptions::ShowHelp:
        std::fputs(qPrintable(options.message), stdout);
        return 0;
    case PlayerOptions::Error:
        std::fprintf(stderr, "quenvarix: %s\n", qPrintable(options.message));
        return 2;
    case PlayerOptions::Run:
        break;
    }
    std::unique_ptr<TimingLog> timingLog(options.timingLog ? new TimingLog() : nullptr);

    Engine::GetInstance()->InitWindow();
    GLWidget widget(50, nullptr);
    widget.SetTimingLog(timingLog.get());
    // A bare X server (no window manager, as under Xvfb) ignores the
    // fullscreen request; covering the screen keeps the picture whole there.
    widget.setGeometry(QGuiApplication::primaryScreen()->geometry());
    widget.showFullScreen();
    return app.exec();
}
