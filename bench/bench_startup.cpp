// Start-up: the whole demo built as Engine::Init builds it, on an offscreen
// llvmpipe context (textures decoded, converted and uploaded, every prop
// imported, the whole tree with its controllers), with the model cache
// cleared before every build and with the cache switched off.
//
// The texture registry never frees or replaces, so every build after the
// first adds 15 unregistered textures (about 36 MB with their GL copies)
// that live to the end of the process: the iteration counts stay small.

#include "benchmain.h"
#include "demotree.h"
#include "glbench.h"
#include "modelcache.h"
#include "timeline.h"
#include "worldobject.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace {

void BM_Startup(benchmark::State& state, bool cached)
{
    QString error;
    if (!GlBench::installWidgetRenderer(&error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    ModelCache* cache = ModelCache::instance();
    cache->setEnabled(cached);
    std::optional<DemoTree> demo;
    for (auto _ : state) {
        state.PauseTiming();
        demo.reset();
        cache->clear();
        state.ResumeTiming();
        demo.emplace();
    }
    demo.reset();
    cache->clear();
    cache->setEnabled(true);
}

// The tree alone (props, sequences, controllers), with the textures already
// registered by an earlier build: the rest of start-up is the textures.
void BM_StartupTreeOnly(benchmark::State& state, bool cached)
{
    QString error;
    if (!GlBench::installWidgetRenderer(&error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    ModelCache* cache = ModelCache::instance();
    cache->setEnabled(cached);
    std::unique_ptr<WorldObject> tree;
    for (auto _ : state) {
        state.PauseTiming();
        tree.reset();
        cache->clear();
        srand(0);
        state.ResumeTiming();
        tree.reset(main_scene());
    }
    tree.reset();
    cache->clear();
    cache->setEnabled(true);
}

}  // namespace

BENCHMARK_CAPTURE(BM_Startup, model_cache, true)
    ->Unit(benchmark::kMillisecond)->Iterations(4)->UseRealTime();
BENCHMARK_CAPTURE(BM_Startup, no_model_cache, false)
    ->Unit(benchmark::kMillisecond)->Iterations(4)->UseRealTime();

BENCHMARK_CAPTURE(BM_StartupTreeOnly, model_cache, true)
    ->Unit(benchmark::kMillisecond)->Iterations(4)->UseRealTime();
BENCHMARK_CAPTURE(BM_StartupTreeOnly, no_model_cache, false)
    ->Unit(benchmark::kMillisecond)->Iterations(4)->UseRealTime();

int main(int argc, char** argv)
{
    return runBenchmarks(argc, argv);
}
