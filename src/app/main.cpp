#include "engine.h"
#include "glwidget.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quenvarix");
    Engine::GetInstance()->InitWindow();
    GLWidget widget(50, nullptr);
    // A bare X server (no window manager, as under Xvfb) ignores the
    // fullscreen request; covering the screen keeps the picture whole there.
    widget.setGeometry(QGuiApplication::primaryScreen()->geometry());
    widget.showFullScreen();
    return app.exec();
}
