#ifndef LIGHTOBJECT_H
#define LIGHTOBJECT_H

#include "worldobject.h"

// A node kind for lights. The lighting itself is fixed in the renderer, so a
// light groups and places its subtree exactly as a plain world node does.
class LightObject : public WorldObject
{
public:
    LightObject(Object* parent, QString id);
    ~LightObject() override;
};

#endif
