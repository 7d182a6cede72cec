#ifndef ENGINE_H
#define ENGINE_H

#include <QList>

class QElapsedTimer;
class Music;
class Renderer;
class Scene;

// The process-wide singleton: owns the renderer, the clock and the scenes,
// holds the music player, and supplies the engine time that every time
// window is tested against. Created before main and never destroyed.
class Engine
{
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    static Engine* GetInstance();

    bool InitWindow();
    // Renderer, music, the demo scene, the soundtrack 5000 ms ahead, then the
    // clock: engine time 0 is the end of Init.
    bool Init();
    void Uninit();

    void Update(float dt);
    void Draw();

    // Milliseconds since Init finished (0 before), or the manual time.
    int GetCurrentTime() const;
    // Engine time is `ms` until changed or cleared, whether or not Init ran:
    // for tests and for rendering offline frame by frame.
    void SetManualTime(int ms);
    void ClearManualTime();
    bool HasManualTime() const { return m_manualTime; }

    Renderer* GetRenderer() const { return m_renderer; }
    // Takes the renderer, deleting the previous one: lets a tool or a test
    // drive the engine with a renderer of its own instead of Init's.
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

    QElapsedTimer* m_time;   // monotonic: a wall-clock change cannot make the picture jump
    Renderer* m_renderer;
    Music* m_music;
    int m_currentScene;
    QList<Scene*> m_scenes;
    bool m_manualTime;
    int m_manualMs;
};

#endif
