// Memory: the peak resident size of a process that has built the whole demo
// on an offscreen llvmpipe context, and what one mesh point and one polygon
// cost on the heap, built as the OBJ importer builds them and as the model
// cache copies them. Sizes are counters; the times are of no interest.
//
// Live heap is read from the allocator (mallinfo2: bytes in use, mmapped
// blocks included) before and after, so temporaries freed on the way do not
// count; the number of allocations comes from the counting allocator. Mesh
// points and polygons come from pools: each counts as one pool block.

#include "allocationcounter.h"
#include "benchmain.h"
#include "demorun.h"
#include "demotree.h"
#include "glbench.h"
#include "modelcache.h"
#include "modelobject.h"
#include "nodepool.h"
#include "model.h"
#include "objimporter.h"
#include "path.h"
#include "pointid.h"
#include "pointobject.h"
#include "polygonobject.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>

#include <memory>
#include <vector>

namespace {

const int kNodes = 20000;

size_t liveHeapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

double peakRssMB()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
}

// Heap retained by what `build` makes (pool slabs included), and the
// allocations it took.
struct HeapCost {
    double liveBytes = 0;
    double allocations = 0;
};

template <typename Build> HeapCost measure(Build build)
{
    const size_t before = liveHeapBytes();
    AllocationCounter::start();
    build();
    const AllocationCounter::Totals counted = AllocationCounter::stop();
    return HeapCost{double(liveHeapBytes()) - double(before), double(counted.allocations)};
}

using PointPool = NodePool<sizeof(PointObject)>;
using PolygonPool = NodePool<sizeof(PolygonObject)>;

size_t reservedForNodes()
{
    return PointPool::reservedBytes() + PolygonPool::reservedBytes();
}

// As measure(), for a build that makes `points` points and `polygons`
// polygons: each node counts as its pool block, whether the block came from
// a slab reserved on the way or was freed by an earlier benchmark.
template <typename Build> HeapCost measureNodes(Build build, size_t points, size_t polygons)
{
    const size_t reserved = reservedForNodes();
    HeapCost cost = measure(build);
    if (QUENVARIX_NODE_POOL) {
        cost.liveBytes -= double(reservedForNodes() - reserved);
        cost.liveBytes += double(points * PointPool::blockSize() + polygons * PolygonPool::blockSize());
    }
    return cost;
}

void report(benchmark::State& state, const HeapCost& cost, double count, size_t objectSize)
{
    state.counters["bytes_each"] = cost.liveBytes / count;
    state.counters["allocs_each"] = cost.allocations / count;
    state.counters["sizeof"] = double(objectSize);
}

// Must run first: ru_maxrss is the peak of the whole process.
void BM_PeakRssAfterStartup(benchmark::State& state)
{
    QString error;
    if (!GlBench::installWidgetRenderer(&error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    const double beforeMB = peakRssMB();
    std::unique_ptr<DemoTree> demo;
    HeapCost cost;
    for (auto _ : state)
        cost = measure([&] { demo = std::make_unique<DemoTree>(); });
    state.counters["peak_rss_MB"] = peakRssMB();
    state.counters["peak_rss_before_MB"] = beforeMB;
    state.counters["demo_heap_MB"] = cost.liveBytes / 1e6;
    state.counters["demo_allocs"] = cost.allocations;
    demo.reset();
    ModelCache::instance()->clear();
}

// A restart (the player looping, seeking back) builds the whole demo again.
// What the process holds after each further start and stop, against after
// the first: llvmpipe keeps its textures in process memory, so textures left
// behind on the graphics side would show here as well as on the heap.
void BM_RestartGrowth(benchmark::State& state)
{
    QString error;
    if (!GlBench::installWidgetRenderer(&error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    DemoRun run(DemoRun::offline());
    run.start();  // the first run fills the model cache, the pools and the driver
    run.stop();
    const size_t heapBefore = liveHeapBytes();
    for (auto _ : state) {
        run.start();
        run.stop();
    }
    const double restarts = double(state.iterations());
    state.counters["heap_growth_bytes_per_restart"] =
        (double(liveHeapBytes()) - double(heapBefore)) / restarts;
    ModelCache::instance()->clear();
}

// Points as the importer makes them: an id of their own, a position, a normal.
void BM_MeshPoint(benchmark::State& state)
{
    ModelObject mesh(nullptr, QString());
    const QString name = QStringLiteral("cogwheel_01");
    HeapCost cost;
    for (auto _ : state)
        cost = measureNodes([&] {
            for (int i = 0; i < kNodes; ++i) {
                auto* point = new PointObject(&mesh, numberedId(name, "_point_", i % 3));
                point->m_transform.SetTranslation(1.0f, 2.0f, 3.0f);
                point->m_normal = QVector3D(0.0f, 1.0f, 0.0f);
                mesh.AddPoint(point);
            }
        }, kNodes, 0);
    report(state, cost, kNodes, sizeof(PointObject));
}

// Polygons as the importer makes them: an id, three texture coordinates and
// three references to points that already exist.
void BM_MeshPolygon(benchmark::State& state)
{
    ModelObject mesh(nullptr, QString());
    PointObject* corners[3];
    for (PointObject*& corner : corners)
        corner = mesh.AddPoint(0.0f, 0.0f, 0.0f);
    const QString name = QStringLiteral("cogwheel_01");
    HeapCost cost;
    for (auto _ : state)
        cost = measureNodes([&] {
            for (int i = 0; i < kNodes; ++i) {
                auto* polygon = new PolygonObject(&mesh, numberedId(name, "_poly_", i));
                for (PointObject* corner : corners) {
                    polygon->AddPoint(corner);
                    polygon->AddTexCoord(new QPointF(0.5, 0.5));
                }
                mesh.AddPolygon(polygon);
            }
        }, 0, kNodes);
    report(state, cost, kNodes, sizeof(PolygonObject));
}

// A whole imported mesh, per triangle (one polygon and its three points):
// fresh from the importer, and as the model cache hands out copies.
void BM_ImportedTriangle(benchmark::State& state, bool cacheCopy)
{
    const QString file = PATH + "/data/cogwheel_01.obj";
    Model model(file);
    ObjImporter importer;
    std::unique_ptr<ModelObject> prototype(importer.convert(model, "cogwheel_01"));
    std::vector<std::unique_ptr<ModelObject>> meshes;
    const int copies = 20;
    const size_t triangles = size_t(copies) * size_t(prototype->NumFaces());
    HeapCost cost;
    for (auto _ : state)
        cost = measureNodes([&] {
            for (int i = 0; i < copies; ++i)
                meshes.emplace_back(cacheCopy ? new ModelObject(*prototype)
                                              : importer.convert(model, "cogwheel_01"));
        }, 3 * triangles, triangles);
    report(state, cost, double(triangles),
           sizeof(PolygonObject) + 3 * sizeof(PointObject));
}

}  // namespace

BENCHMARK(BM_PeakRssAfterStartup)->Iterations(1);
BENCHMARK(BM_RestartGrowth)->Iterations(10);
BENCHMARK(BM_MeshPoint)->Iterations(1);
BENCHMARK(BM_MeshPolygon)->Iterations(1);
BENCHMARK_CAPTURE(BM_ImportedTriangle, importer, false)->Iterations(1);
BENCHMARK_CAPTURE(BM_ImportedTriangle, cache_copy, true)->Iterations(1);

int main(int argc, char** argv)
{
    return runBenchmarks(argc, argv);
}
