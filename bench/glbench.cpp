#include "glbench.h"

#include "engine.h"
#include "offscreentarget.h"
#include "qtrenderer.h"

#include <benchmark/benchmark.h>

OffscreenTarget* GlBench::target(QString* error)
{
    static OffscreenTarget* shared = nullptr;  // kept to the end of the process
    static QString failure;
    if (!shared && failure.isEmpty()) {
        auto* candidate = new OffscreenTarget();
        if (candidate->create(QSize(1280, 720), &failure)) {
            shared = candidate;
            benchmark::AddCustomContext("gl_renderer", shared->rendererName().toStdString());
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
