#include "modelcache.h"

#include "modelimporter.h"
#include "modelobject.h"
#include "pointobject.h"
#include "polygonobject.h"

ModelCache* ModelCache::instance()
{
    static ModelCache cache(&ModelImporter::load);
    return &cache;
}

ModelCache::ModelCache(Loader loader)
    : m_loader(std::move(loader))
{
}

ModelCache::~ModelCache()
{
    clear();
}

ModelObject* ModelCache::load(const QString& path)
{
    if (!m_enabled)
        return m_loader(path);
    ModelObject* prototype = m_prototypes.value(path, nullptr);
    if (!prototype) {
        prototype = m_loader(path);
        if (!prototype)
            return nullptr;
        m_prototypes.insert(path, prototype);
    }
    return copyOf(*prototype);
}

void ModelCache::clear()
{
    qDeleteAll(m_prototypes);
    m_prototypes.clear();
}

void ModelCache::setEnabled(bool enabled)
{
    m_enabled = enabled;
    if (!enabled)
        clear();
}

// The copy constructor keeps every parent reference of the source, so the
// copied polygons and points would still name the prototype (or its
// polygons) as their parent: point them at their counterparts in the copy.
ModelObject* ModelCache::copyOf(const ModelObject& prototype)
{
    auto* copy = new ModelObject(prototype);
    QHash<const Object*, Object*> counterpart{{&prototype, copy}};
    const QList<PolygonObject*>& sources = prototype.GetPolygons();
    const QList<PolygonObject*>& copies = copy->GetPolygons();
    for (int i = 0; i < sources.size(); ++i)
        counterpart.insert(sources.at(i), copies.at(i));
    auto remap = [&counterpart](Object* node) {
        node->SetParent(counterpart.value(node->GetParent(), node->GetParent()));
    };
    for (PolygonObject* polygon : copies) {
        remap(polygon);
        for (PointObject* point : polygon->GetPoints())
            remap(point);
    }
    return copy;
}
