#include "lightobject.h"

LightObject::LightObject(Object* parent, QString id)
    : WorldObject(parent, std::move(id))
{
}

LightObject::~LightObject() = default;
