// What a frame costs on a QOpenGLWindow against a QOpenGLWidget, fullscreen,
// with the same few blended quads, each frame started as soon as the
// previous one was swapped: the choice of the player's window class.
//
//   g++ -O2 -fPIC bench/surfacecost.cpp -o surfacecost \
//       $(pkg-config --cflags --libs Qt6Widgets Qt6OpenGL) \
//       -I/usr/include/x86_64-linux-gnu/qt6/QtOpenGLWidgets -lQt6OpenGLWidgets -lGL
//   LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1280x1024x24" ./surfacecost window
//   LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1280x1024x24" ./surfacecost widget
#include <QApplication>
#include <QElapsedTimer>
#include <QOpenGLWidget>
#include <QOpenGLWindow>
#include <QScreen>
#include <QTimer>

#include <GL/gl.h>

#include <cstdio>

namespace {

const int kFrames = 400;  // measured, after 50 to settle

void drawScene(int width, int height)
{
    glViewport(0, 0, width, height);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (int i = 0; i < 4; ++i) {
        glColor4f(0.3f, 0.2f, 0.1f, 0.5f);
        glBegin(GL_QUADS);
        glVertex2f(-0.9f + i * 0.1f, -0.9f);
        glVertex2f(0.9f, -0.9f);
        glVertex2f(0.9f, 0.9f);
        glVertex2f(-0.9f, 0.9f);
        glEnd();
    }
}

struct FrameCount
{
    QElapsedTimer clock;
    int frames = 0;
    void swapped()
    {
        if (frames == 50)
            clock.start();
        if (++frames == kFrames + 50) {
            std::printf("%.2f ms a frame\n", clock.nsecsElapsed() / 1e6 / kFrames);
            QCoreApplication::quit();
        }
    }
};

class Window : public QOpenGLWindow
{
public:
    Window()
    {
        connect(this, &QOpenGLWindow::frameSwapped, this, [this] {
            count.swapped();
            QTimer::singleShot(0, this, [this] {
                update();
                QEvent request(QEvent::UpdateRequest);
                QCoreApplication::sendEvent(this, &request);
            });
        });
    }
    void paintGL() override { drawScene(width(), height()); }
    FrameCount count;
};

class Widget : public QOpenGLWidget
{
public:
    Widget()
    {
        connect(this, &QOpenGLWidget::frameSwapped, this, [this] {
            count.swapped();
            update();
        });
    }
    void paintGL() override { drawScene(width(), height()); }
    FrameCount count;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]) == "widget") {
        auto* widget = new Widget;
        widget->showFullScreen();
    } else {
        auto* window = new Window;
        window->setGeometry(window->screen()->geometry());
        window->showFullScreen();
    }
    return app.exec();
}
