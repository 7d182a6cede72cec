#ifndef RECORDEDDEMO_H
#define RECORDEDDEMO_H

#include "demorun.h"
#include "engine.h"
#include "recordingrenderer.h"

#include <QVector>

// A demo run drawn into a RecordingRenderer (no GL needed), on a manual
// clock or the engine's own.
inline DemoRun::Options recorded(bool manualClock = true, bool warmUp = true)
{
    DemoRun::Options options = DemoRun::offline();
    options.manualClock = manualClock;
    options.warmUp = warmUp;
    options.renderer = [] { return new RecordingRenderer(); };
    return options;
}

// What one frame at the current engine time hands the renderer.
inline QVector<Transform> drawnFrame()
{
    auto* renderer = static_cast<RecordingRenderer*>(Engine::GetInstance()->GetRenderer());
    renderer->clear();
    Engine::GetInstance()->Draw();
    return renderer->transforms;
}

#endif
