#include "engine.h"
#include "glwidget.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quenvarix");
    Engine::GetInstance()->InitWindow();
    GLWidget widget(50, nullptr);
    widget.showFullScreen();
    return app.exec();
}
