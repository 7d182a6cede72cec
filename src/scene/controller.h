#ifndef CONTROLLER_H
#define CONTROLLER_H

#include "demoobject.h"

#include <QList>

class WorldObject;

// A timed actor attached to one node. When it finishes, the successors it
// holds are handed to that node and run from the next update pass on.
class Controller : public DemoObject
{
public:
    explicit Controller(WorldObject* parent);
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;
    ~Controller() override;

    bool Update(float dt) override = 0;
    void Draw(Renderer* renderer, const Transform& inherited) override;
    // Hands the successors to the node in m_parent; called on finishing.
    virtual void OnFinish();

    void SetParent(WorldObject* parent);
    WorldObject* GetParent() const { return m_parent; }
    // Takes ownership of next until it is handed over.
    void SetNextConroller(Controller* next);
    const QList<Controller*>& GetNextControllers() const { return m_next; }

protected:
    QList<Controller*> m_next;
    WorldObject* m_parent;
};

#endif
