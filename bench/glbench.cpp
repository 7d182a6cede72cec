#include "glbench.h"

#include "engine.h"
#include "offscreentarget.h"
#include "qtrenderer.h"

#include <cstdio>

namespace {

// 1280 x 720, or QUENVARIX_BENCH_SIZE=WxH: what the frame size costs.
QSize frameSize()
{
    const QStringList size = qEnvironmentVariable("QUENVARIX_BENCH_SIZE").split('x');
    if (size.size() == 2 && size[0].toInt() > 0 && size[1].toInt() > 0)
        return QSize(size[0].toInt(), size[1].toInt());
    return QSize(1280, 720);
}

}  // namespace

OffscreenTarget* GlBench::target(QString* error)
{
    static OffscreenTarget* shared = nullptr;  // kept to the end of the process
    static QString failure;
    if (!shared && failure.isEmpty()) {
        auto* candidate = new OffscreenTarget();
        if (candidate->create(frameSize(), &failure)) {
            shared = candidate;
            // Too late for the report's context, which is printed first.
            fprintf(stderr, "GL renderer: %s, %dx%d\n", qPrintable(shared->rendererName()),
                    shared->size().width(), shared->size().height());
        } else {
            delete candidate;
        }
    }
    if (!shared)
        *error = failure;
    return shared;
}

bool GlBench::installWidgetRenderer(QString* error)
{
    OffscreenTarget* gl = target(error);
    if (!gl || !gl->makeCurrent())
        return false;
    auto* renderer = new WidgetRenderer();
    Engine::GetInstance()->SetRenderer(renderer);
    renderer->Init();
    renderer->ResizeWindow(gl->size().width(), gl->size().height());
    return true;
}
