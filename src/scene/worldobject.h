#ifndef WORLDOBJECT_H
#define WORLDOBJECT_H

#include "object.h"
#include "transform.h"

class Controller;

// The concrete scene-graph node: a transform relative to the parent and the
// controllers that animate it. Groups, places and times its subtree; draws
// nothing itself.
class WorldObject : public Object
{
public:
    WorldObject(Object* parent, QString id);
    // Copies as Object does, plus the transform; never the controllers.
    WorldObject(const WorldObject& other);
    ~WorldObject() override;

    void AddController(Controller* controller);
    void RemoveController(Controller* controller);
    const QList<Controller*>& GetControllers() const { return m_controllers; }

    // Children first, then the controllers; finished controllers are deleted.
    bool Update(float dt) override;
    // Hands every child this node's transform composed with the inherited one.
    void Draw(Renderer* renderer, const Transform& inherited) override;

    Transform m_transform;

protected:
    QList<Controller*> m_controllers;
};

#endif
