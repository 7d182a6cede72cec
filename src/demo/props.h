#ifndef PROPS_H
#define PROPS_H

#include <QString>

class ModelObject;

// Props: one model file each, every polygon given one texture from the
// registry. No transform, colour, id or window is set; the new node is
// unattached and owned by the caller. Models are read through the model cache.

// The model PATH + "/data/" + model + ".obj" with the named texture.
ModelObject* get_object(const QString& model, const QString& texture);

ModelObject* container();
ModelObject* can();
ModelObject* barrel();
ModelObject* box();
ModelObject* cogwheel();
ModelObject* tree();
ModelObject* cone();
ModelObject* stairs();
ModelObject* spider();
ModelObject* shovel();
ModelObject* sentry();
ModelObject* hammer();

#endif
