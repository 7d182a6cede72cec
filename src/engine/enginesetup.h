#ifndef ENGINESETUP_H
#define ENGINESETUP_H

#include <QString>

#include <functional>

class Renderer;
class Scene;

// What Engine::Init builds, handed down by whoever starts the demo: the engine
// sits below the concrete renderer and the content and names neither.
struct EngineSetup
{
    // The demo's soundtrack, below PATH, and the engine time at which the
    // engine starts it; whoever places the sound (the capture's video) asks here.
    static constexpr const char* kDemoTrack = "/data/tavrenQuisk.mp3";
    static constexpr int kTrackStartMs = 5000;

    std::function<Renderer*()> createRenderer;  // none: keep the renderer set before
    std::function<Scene*()> buildScene;         // runs with the renderer initialised
    QString track;                              // empty: no music player at all
    int trackDelay = kTrackStartMs;             // ms from Init until playback starts
    int trackOffset = 0;                        // ms the sound lags the picture (negative: leads)
};

#endif
