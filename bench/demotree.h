#ifndef DEMOTREE_H
#define DEMOTREE_H

class Scene;
class WorldObject;

// The whole demo, built as Engine::Init builds it (init_scene_1(): every
// texture through the engine's renderer, every prop, the whole tree) and
// made the engine's current scene. The engine must already have a renderer.
// Destroying it takes the scene out of the engine and frees the tree; the
// textures stay, as the registry never frees them.
class DemoTree
{
public:
    DemoTree();
    ~DemoTree();
    DemoTree(const DemoTree&) = delete;
    DemoTree& operator=(const DemoTree&) = delete;

    WorldObject* root() const;

    // Plays the demo on the manual clock from 0 to `moment` in frames of
    // `frameMs`, update passes only, so the controllers stand where they
    // would stand in a real run.
    void stepTo(int moment, int frameMs = 20);
    // One frame as the player runs it: the update pass, then the draw pass.
    static void frame(float dt);

private:
    Scene* m_scene;
};

#endif
