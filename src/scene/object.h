#ifndef OBJECT_H
#define OBJECT_H

#include "demoobject.h"
#include "objecttype.h"

#include <QList>
#include <QString>

// A named node: owns its children, refers to its parent. Update and Draw are
// left to the concrete nodes.
class Object : public DemoObject
{
public:
    Object(Object* parent, QString id);
    // Copies the window, id, parent pointer and kinds; never the children.
    Object(const Object& other);
    ~Object() override;
    Object& operator=(const Object&) = delete;

    const QString& GetId() const { return m_id; }
    Object* GetParent() const { return m_parent; }
    void SetParent(Object* parent);
    const QList<Object*>& GetChildren() const { return m_children; }

    void AddChild(Object* child);
    void RemoveChild(Object* child);
    void RemoveChild(QString id);
    // Depth-first, pre-order: the first match wins.
    Object* Find(QString id);

    void AddType(ObjectType type);
    void RemoveType(ObjectType type);
    bool IsType(ObjectType type) const;

protected:
    QString m_id;
    Object* m_parent;
    QList<Object*> m_children;
    QList<ObjectType> m_types;
};

#endif
