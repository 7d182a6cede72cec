#ifndef SCENE_H
#define SCENE_H

class Renderer;
class WorldObject;

// Holds one root node; does not own it.
class Scene
{
public:
    explicit Scene(WorldObject* root);
    ~Scene();

    WorldObject* GetRoot() const { return m_root; }
    // A null root is ignored; the previous root is not destroyed.
    void SetRoot(WorldObject* root);

    void Update(float dt);
    // The root receives its own transform as the inherited one, so it is
    // composed twice into everything below it (the demo relies on this).
    void Draw(Renderer* renderer);

private:
    WorldObject* m_root;
};

#endif
