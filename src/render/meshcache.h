#ifndef MESHCACHE_H
#define MESHCACHE_H

#include <QMetaObject>
#include <QtGlobal>

#include <memory>
#include <unordered_map>

class MeshBatch;
class MeshSnapshot;
class ModelObject;
class QOpenGLContext;

// The meshes a renderer keeps on the GL side. Every draw checks the mesh
// against what was compiled (the scene graph may change a mesh any way it
// likes: points moved by controllers, faces added or removed, a texture
// replaced), so a mesh is never drawn from stale data. Meshes with equal
// content share one batch; a mesh that keeps changing is left to be drawn
// face by face until it holds still for a frame. Everything belongs to the
// GL context that was current when it was made.
class MeshCache
{
public:
    MeshCache();
    ~MeshCache();
    MeshCache(const MeshCache&) = delete;
    MeshCache& operator=(const MeshCache&) = delete;

    // The batch to draw `mesh` with now, or null: draw it face by face.
    const MeshBatch* batchFor(const ModelObject& mesh);
    // Called once a frame: forgets meshes that have not been drawn for a
    // long time (they may no longer exist).
    void frameStarted();

    int meshCount() const { return int(m_entries.size()); }
    int batchCount() const;
    int compileCount() const { return m_compiles; }

private:
    struct Entry
    {
        std::shared_ptr<MeshBatch> batch;
        quint64 lastDrawn = 0;
    };

    void followCurrentContext();
    void forgetAll();
    void renew(Entry& entry, const ModelObject& mesh);
    void share(Entry& entry, MeshSnapshot snapshot);
    void sweep();

    std::unordered_map<const ModelObject*, Entry> m_entries;
    std::unordered_multimap<std::size_t, std::weak_ptr<MeshBatch>> m_shared;
    // Kept from draw to draw: a mesh that cannot be batched is checked
    // every frame without allocating.
    std::unique_ptr<MeshSnapshot> m_scratch;
    QOpenGLContext* m_context = nullptr;
    QMetaObject::Connection m_contextGone;
    quint64 m_frame = 0;
    int m_compiles = 0;
};

#endif
