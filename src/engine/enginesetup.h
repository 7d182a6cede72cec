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
    std::function<Renderer*()> createRenderer;  // none: keep the renderer set before
    std::function<Scene*()> buildScene;         // runs with the renderer initialised
    QString track;                              // empty: no music player at all
    int trackDelay = 5000;                      // ms from Init until playback starts
};

#endif
