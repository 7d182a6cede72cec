#include "glbench.h"

#include "engine.h"
#include "offscreentarget.h"
#include "qtrenderer.h"

#include <cstdio>

OffscreenTarget* GlBench::target(QString* error)
{
    static OffscreenTarget* shared = nullptr;  // kept to the end of the process
    static QString failure;
    if (!shared && failure.isEmpty()) {
        auto* candidate = new OffscreenTarget();
        if (candidate->create(QSize(1280, 720), &failure)) {
            shared = candidate;
            // Too late for the report's context, which is printed first.
            fprintf(stderr, "GL renderer: %s\n", qPrintable(shared->rendererName()));
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
