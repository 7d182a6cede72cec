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

#include <GL/gl.h>

#include <memory>
#include <string>

namespace {

const int kMoments[] = {1000, 6000, 12000, 20000, 30000, 38000, 44000, 50000};
const float kFrameMs = 20.0f;

// The tree of the moment being measured: both renderers of one moment share
// it, and it is built again (textures uploaded on GL) for the next moment.
DemoTree* treeAt(int moment, QString* error)
{
    static std::unique_ptr<DemoTree> tree;
    static int builtFor = -1;
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

void reportFrames(benchmark::State& state, const AllocationCounter::Totals& allocations)
{
    const double frames = double(state.iterations());
    state.counters["allocs/frame"] = double(allocations.allocations) / frames;
    state.counters["alloc_bytes/frame"] = double(allocations.bytes) / frames;
}

// `finish` waits for the frame to be drawn, where drawing is not immediate.
template <typename Finish> void runFrames(benchmark::State& state, Finish finish)
{
    DemoTree::frame(kFrameMs);  // settles anything the first pass at this time hands over
    finish();
    CountingScope counting;
    for (auto _ : state) {
        DemoTree::frame(kFrameMs);
        finish();
    }
    reportFrames(state, counting.finish());
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
