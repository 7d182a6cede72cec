#ifndef MESHBATCH_H
#define MESHBATCH_H

#include "meshsnapshot.h"

// A mesh kept on the GL side: its snapshot compiled into one display list
// that sends the same geometry as drawing it face by face, with triangles in
// runs of one glBegin/glEnd and each texture bound once per run. Copies of a
// model with equal snapshots share one batch.
class MeshBatch
{
public:
    explicit MeshBatch(MeshSnapshot snapshot);
    ~MeshBatch();  // deletes the list: its context must be current
    MeshBatch(const MeshBatch&) = delete;
    MeshBatch& operator=(const MeshBatch&) = delete;

    const MeshSnapshot& snapshot() const { return m_snapshot; }
    MeshSnapshot takeSnapshot() { return std::move(m_snapshot); }

    bool compiled() const { return m_list != 0; }
    void compile();
    // Under the transform and colour set last, as the faces would be drawn.
    void draw() const;
    // The context is gone, and its lists with it: nothing left to delete.
    void abandon() { m_list = 0; }

private:
    void sendFaces() const;

    MeshSnapshot m_snapshot;
    unsigned int m_list = 0;
};

#endif
