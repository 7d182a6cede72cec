#include "props.h"

#include "materials.h"
#include "modelcache.h"
#include "objectmanager.h"
#include "path.h"
#include "texture.h"

namespace {

// `file` is relative to the asset directory and begins "/data/".
ModelObject* textured_model(const QString& file, const QString& texture)
{
    ModelObject* model = ModelCache::instance()->load(PATH + file);
    set_texture(model, ObjectManager<Texture>::tm->find_object(texture));
    return model;
}

} // namespace

ModelObject* get_object(const QString& model, const QString& texture)
{
    return textured_model("/data/" + model + ".obj", texture);
}

ModelObject* container()
{
    return textured_model("/data/cargoContainer.obj", "container");
}

ModelObject* can()
{
    return textured_model("/data/can.obj", "can");
}

ModelObject* barrel()
{
    return textured_model("/data/beerBarrel.obj", "barrel");
}

ModelObject* box()
{
    return textured_model("/data/box.obj", "box");
}

ModelObject* cogwheel()
{
    return textured_model("/data/cogwheel_01.obj", "cogwheel");
}

ModelObject* tree()
{
    return get_object("tree", "tree");
}

ModelObject* cone()
{
    return get_object("traffic_cone_01", "cone");
}

ModelObject* stairs()
{
    return get_object("stairs", "stairs");
}

ModelObject* spider()
{
    return get_object("spider", "spider");
}

ModelObject* shovel()
{
    return get_object("shovel", "shovel");
}

ModelObject* sentry()
{
    return get_object("SentryGun", "sentry");
}

ModelObject* hammer()
{
    return get_object("hammer", "hammer");
}
