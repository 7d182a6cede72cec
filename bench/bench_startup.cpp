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

// Builds `build()` once per iteration with the model cache on or off,
// dropping the previous result and emptying the cache outside the timing.
template <typename Result, typename Build>
void timeBuilds(benchmark::State& state, bool cached, Build build)
{
    QString error;
    if (!GlBench::installWidgetRenderer(&error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    ModelCache* cache = ModelCache::instance();
    cache->setEnabled(cached);
    Result result;
    for (auto _ : state) {
        state.PauseTiming();
        result.reset();
        cache->clear();
        srand(0);
        state.ResumeTiming();
        build(result);
    }
    result.reset();
    cache->clear();
    cache->setEnabled(true);
}

void BM_Startup(benchmark::State& state, bool cached)
{
    timeBuilds<std::optional<DemoTree>>(state, cached, [](auto& demo) { demo.emplace(); });
}

// The tree alone (props, sequences, controllers), with the textures already
// registered by an earlier build: the rest of start-up is the textures.
void BM_StartupTreeOnly(benchmark::State& state, bool cached)
{
    timeBuilds<std::unique_ptr<WorldObject>>(state, cached, [](auto& tree) { tree.reset(main_scene()); });
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
