#include "materials.h"

#include "engine.h"
#include "geometry.h"
#include "imagefile.h"
#include "modelobject.h"
#include "objectmanager.h"
#include "pointobject.h"
#include "polygonobject.h"
#include "renderer.h"
#include "texture.h"

#include <QDebug>
#include <QImage>

#include <memory>

namespace {

// A texture loaded under a name that is already taken cannot be found, but it
// is uploaded all the same and lives as long as the registered ones: keep it
// here rather than lose track of it.
QList<Texture*>& unregistered()
{
    static auto* textures = new QList<Texture*>();  // never freed, like the registry
    return *textures;
}

void upload(Texture* texture)
{
    Renderer* renderer = Engine::GetInstance()->GetRenderer();
    if (!renderer) {
        qWarning("texture not uploaded: the engine has no renderer");
        return;
    }
    renderer->LoadTexture(texture);
}

ModelObject* textured_quad(const QString& name)
{
    ModelObject* quad = create_quad(10, 10, nullptr, nullptr);
    set_texture(quad, ObjectManager<Texture>::tm->find_object(name));
    return quad;
}

} // namespace

void init_texture(const QString& path, const QString& name)
{
    auto image = std::make_unique<QImage>();
    if (!loadCompleteImage(path, image.get())) {
        qDebug("texture not initialized");
        return;
    }
    auto* texture = new Texture(image.release());
    if (!ObjectManager<Texture>::tm->add_object(texture, name))
        unregistered().append(texture);
    texture->convertToGl();
    upload(texture);
}

void release_textures()
{
    QList<Texture*> textures = ObjectManager<Texture>::tm->take_all() + unregistered();
    unregistered().clear();
    Renderer* renderer = Engine::GetInstance()->GetRenderer();
    for (Texture* texture : textures) {
        if (renderer)
            renderer->UnloadTexture(texture);
        delete texture;
    }
}

void set_texture(ModelObject* model, Texture* texture)
{
    if (!model)
        return;
    const QList<PolygonObject*> polygons = model->GetPolygons();
    for (PolygonObject* polygon : polygons)
        polygon->SetTexture(texture);
}

void set_color(ModelObject* model, float r, float g, float b, float a)
{
    if (!model)
        return;
    const QList<PointObject*> points = model->GetPoints();
    for (PointObject* point : points)
        point->m_transform.SetColor(r, g, b, a);
}

ModelObject* tex_quad(const QString& name)
{
    return textured_quad(name);
}

ModelObject* stone_ground()
{
    return textured_quad("stone");
}

ModelObject* metal_ground()
{
    return textured_quad("metal");
}
