#include "meshcache.h"

#include "meshbatch.h"
#include "meshsnapshot.h"

#include <QOpenGLContext>

#include <utility>

namespace {
// A mesh not drawn for this many frames (a minute at 50 fps) is forgotten:
// the next draw, if any, checks it afresh.
const quint64 kForgetAfterFrames = 3000;
const quint64 kSweepEveryFrames = 256;
}  // namespace

MeshCache::MeshCache()
    : m_scratch(std::make_unique<MeshSnapshot>())
{
}

MeshCache::~MeshCache()
{
    QObject::disconnect(m_contextGone);
    // Lists of a context that is not current cannot be deleted here.
    if (QOpenGLContext::currentContext() != m_context)
        forgetAll();
}

int MeshCache::batchCount() const
{
    int count = 0;
    for (const auto& shared : m_shared)
        count += shared.second.expired() ? 0 : 1;
    return count;
}

const MeshBatch* MeshCache::batchFor(const ModelObject& mesh)
{
    followCurrentContext();
    if (!m_context)
        return nullptr;
    Entry& entry = m_entries[&mesh];
    entry.lastDrawn = m_frame;
    if (entry.batch && entry.batch->snapshot().matches(mesh)) {
        if (!entry.batch->compiled())  // held still since it last changed
            share(entry, entry.batch->takeSnapshot());
    } else {
        renew(entry, mesh);
    }
    return entry.batch && entry.batch->compiled() ? entry.batch.get() : nullptr;
}

// The mesh is new, or differs from its last draw. A new one is compiled at
// once (or shares the batch of an equal one); a changed one is only noted,
// and drawn face by face until it holds still.
void MeshCache::renew(Entry& entry, const ModelObject& mesh)
{
    const bool changed = entry.batch != nullptr;
    entry.batch.reset();
    if (!m_scratch->capture(mesh))
        return;
    MeshSnapshot snapshot = std::exchange(*m_scratch, MeshSnapshot());
    if (changed)
        entry.batch = std::make_shared<MeshBatch>(std::move(snapshot));
    else
        share(entry, std::move(snapshot));
}

// Gives the entry the batch of an equal mesh, or compiles a new one.
void MeshCache::share(Entry& entry, MeshSnapshot snapshot)
{
    const std::size_t hash = snapshot.hash();
    const auto range = m_shared.equal_range(hash);
    for (auto it = range.first; it != range.second; ++it) {
        std::shared_ptr<MeshBatch> batch = it->second.lock();
        if (batch && batch->snapshot() == snapshot) {
            entry.batch = std::move(batch);
            return;
        }
    }
    entry.batch = std::make_shared<MeshBatch>(std::move(snapshot));
    entry.batch->compile();
    ++m_compiles;
    if (entry.batch->compiled())
        m_shared.emplace(hash, entry.batch);
}

void MeshCache::frameStarted()
{
    ++m_frame;
    if (m_frame % kSweepEveryFrames == 0)
        sweep();
}

void MeshCache::sweep()
{
    for (auto it = m_entries.begin(); it != m_entries.end();)
        it = m_frame - it->second.lastDrawn > kForgetAfterFrames ? m_entries.erase(it) : std::next(it);
    for (auto it = m_shared.begin(); it != m_shared.end();)
        it = it->second.expired() ? m_shared.erase(it) : std::next(it);
}

// Lists live in one context: drawing in another starts afresh, and a
// context that goes away takes its lists with it.
void MeshCache::followCurrentContext()
{
    QOpenGLContext* current = QOpenGLContext::currentContext();
    if (current == m_context)
        return;
    forgetAll();
    m_context = current;
    if (current)
        m_contextGone = QObject::connect(current, &QOpenGLContext::aboutToBeDestroyed,
                                         [this] { forgetAll(); });
}

void MeshCache::forgetAll()
{
    QObject::disconnect(m_contextGone);
    for (auto& entry : m_entries) {
        if (entry.second.batch)
            entry.second.batch->abandon();
    }
    m_entries.clear();
    m_shared.clear();
    m_context = nullptr;
}
