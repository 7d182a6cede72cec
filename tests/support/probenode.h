#ifndef PROBENODE_H
#define PROBENODE_H

#include "worldobject.h"

#include <QStringList>

// A world node that writes "update <id>", "draw <id>" and "destroy <id>" into
// a shared log and remembers the transform it was last drawn with, so tests
// can check pass order, window gating, composition and destruction counts.
class ProbeNode : public WorldObject
{
public:
    ProbeNode(const QString& id, QStringList* log, Object* parent = nullptr)
        : WorldObject(parent, id), m_log(log) {}
    ~ProbeNode() override { *m_log << "destroy " + m_id; }

    bool Update(float dt) override
    {
        if (Exists(0))
            *m_log << "update " + m_id;
        return WorldObject::Update(dt);
    }

    void Draw(Renderer* renderer, const Transform& inherited) override
    {
        if (Exists(0)) {
            *m_log << "draw " + m_id;
            ++draws;
            lastInherited = inherited;
        }
        WorldObject::Draw(renderer, inherited);
    }

    int draws = 0;
    Transform lastInherited;  // the argument of the last Draw inside the window

private:
    QStringList* m_log;
};

#endif
