#ifndef ENGINE_H
#define ENGINE_H

#include <QList>

class EngineClock;
class Music;
class Renderer;
class Scene;
struct EngineSetup;

// The process-wide singleton: owns the renderer, the music player and the
// scenes, starts the clock, and supplies the engine time that every time
// window is tested against. Created before main and never destroyed; what it
// builds comes from above (EngineSetup), usually through DemoRun.
class Engine
{
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    static Engine* GetInstance();

    bool InitWindow();
    // Renderer, music, the scene, the soundtrack trackDelay ms ahead, then the
    // clock: engine time 0 is the end of Init.
    bool Init(const EngineSetup& setup);
    // Releases the renderer, the music player and the scenes (not their
    // roots: a scene does not own its root) and stops the clock.
    void Uninit();

    void Update(float dt);
    void Draw();

    // Milliseconds since Init finished (0 before), or the manual time.
    int GetCurrentTime() const;
    EngineClock* GetClock() const { return m_clock; }
    // Engine time is `ms` until changed or cleared, whether or not Init ran:
    // for tests and for rendering offline frame by frame.
    void SetManualTime(int ms);
    void ClearManualTime();
    bool HasManualTime() const;

    Renderer* GetRenderer() const { return m_renderer; }
    // Takes the renderer; the previous one is uninitialised and deleted. Lets a
    // tool or a test drive the engine with a renderer of its own.
    void SetRenderer(Renderer* renderer);
    Music* GetMusic() const { return m_music; }

    void AddScene(Scene* scene);
    bool UseScene(int index);
    // Destroys the scene (not its root). The current scene stays current when
    // an earlier one is removed; removing the current one moves on to the next.
    void RemoveScene(int index);
    void RemoveScene(Scene* scene);
    int GetCurrentSceneIndex() const { return m_currentScene; }
    const QList<Scene*>& GetScenes() const { return m_scenes; }

private:
    Scene* currentScene() const;

    static Engine* m_engine;

    EngineClock* m_clock;  // the process-wide clock the nodes read; not owned
    Renderer* m_renderer;
    Music* m_music;
    int m_currentScene;
    QList<Scene*> m_scenes;
};

#endif
