// Frame cost: one update pass plus one draw pass over the demo's tree at
// eight moments of the timeline (one per sequence, and 50000 when nothing is
// shown), on the manual clock, after playing the demo from 0 to that moment
// in 20 ms frames. Each moment is measured through a renderer that only
// counts (the scene graph's own cost) and through the WidgetRenderer on
// llvmpipe at 1280 x 720. Heap allocations during the measured frames are
// counted and reported per frame.
//
// Every measured frame runs at the same engine time with dt = 20, so the
// same nodes and controllers take part in every one of them.

#include "allocationcounter.h"
#include "benchmain.h"
#include "countingrenderer.h"
#include "demotree.h"
#include "engine.h"
#include "glbench.h"
#include "qtrenderer.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <sys/resource.h>

#include <memory>
#include <string>

namespace {

const int kMoments[] = {1000, 6000, 12000, 20000, 30000, 38000, 44000, 50000};
const float kFrameMs = 20.0f;

// The tree of the moment being measured: both renderers of one moment share
// it, and it is built again (textures uploaded on GL) for the next moment.
std::unique_ptr<DemoTree> tree;

// Taking the tree down needs the toolkit (the renderer asks for the current
// GL context): it goes while the application still exists, not at exit.
void releaseTree()
{
    tree.reset();
}

DemoTree* treeAt(int moment, QString* error)
{
    static int builtFor = -1;
    static bool releaseArranged = false;
    if (!releaseArranged) {
        qAddPostRoutine(releaseTree);
        releaseArranged = true;
    }
    if (builtFor == moment && tree) {
        Engine::GetInstance()->SetManualTime(moment);
        return tree.get();
    }
    tree.reset();
    if (!GlBench::installWidgetRenderer(error))
        return nullptr;
    Engine::GetInstance()->SetManualTime(0);
    tree = std::make_unique<DemoTree>();
    tree->stepTo(moment);
    builtFor = moment;
    return tree.get();
}

// CPU time of every thread of the process (llvmpipe rasterises in threads
// of its own): unlike wall time, it hardly depends on what else runs.
double processCpuMs()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void reportFrames(benchmark::State& state, const AllocationCounter::Totals& allocations,
                  double cpuMs)
{
    const double frames = double(state.iterations());
    state.counters["allocs/frame"] = double(allocations.allocations) / frames;
    state.counters["alloc_bytes/frame"] = double(allocations.bytes) / frames;
    state.counters["all_threads_cpu_ms/frame"] = cpuMs / frames;
}

// `finish` waits for the frame to be drawn, where drawing is not immediate.
template <typename Finish> void runFrames(benchmark::State& state, Finish finish)
{
    DemoTree::frame(kFrameMs);  // settles anything the first pass at this time hands over
    finish();
    CountingScope counting;
    const double cpuStart = processCpuMs();
    for (auto _ : state) {
        DemoTree::frame(kFrameMs);
        finish();
    }
    const double cpuMs = processCpuMs() - cpuStart;
    reportFrames(state, counting.finish(), cpuMs);
}

void BM_FrameCounting(benchmark::State& state, int moment)
{
    QString error;
    if (!treeAt(moment, &error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    auto* renderer = new CountingRenderer();
    Engine::GetInstance()->SetRenderer(renderer);
    runFrames(state, [] {});
    const double frames = double(state.iterations()) + 1.0;  // the settling frame included
    state.counters["polygons/frame"] = double(renderer->counts().polygons) / frames;
    state.counters["transforms/frame"] = double(renderer->counts().transforms) / frames;
    benchmark::DoNotOptimize(renderer->checksum());
}

// Fragments drawn in one more frame (no depth test: every fragment passes),
// which is what the rasteriser's time goes with once the calls are few.
double fragmentsOfOneFrame()
{
    GLuint query = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_SAMPLES_PASSED, query);
    DemoTree::frame(kFrameMs);
    glEndQuery(GL_SAMPLES_PASSED);
    GLuint fragments = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &fragments);
    glDeleteQueries(1, &query);
    return double(fragments);
}

// llvmpipe queues the commands and rasterises on flush, in threads of its
// own: every frame waits until it is drawn, and wall time is what counts.
void BM_FrameWidgetRenderer(benchmark::State& state, int moment)
{
    QString error;
    if (!treeAt(moment, &error) || !GlBench::installWidgetRenderer(&error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    runFrames(state, [] { glFinish(); });
    state.counters["fragments/frame"] = fragmentsOfOneFrame();
}

// Both renderers of a moment one after the other, so that each moment's
// tree is built once.
void registerMoments()
{
    for (int moment : kMoments) {
        const std::string suffix = "/ms:" + std::to_string(moment);
        benchmark::RegisterBenchmark(("BM_FrameCounting" + suffix).c_str(), BM_FrameCounting,
                                     moment)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("BM_FrameWidgetRenderer" + suffix).c_str(),
                                     BM_FrameWidgetRenderer, moment)
            ->Unit(benchmark::kMicrosecond)->UseRealTime();
    }
}

}  // namespace

int main(int argc, char** argv)
{
    registerMoments();
    return runBenchmarks(argc, argv);
}
