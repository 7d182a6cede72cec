// Start-up: the whole demo built as the player builds it (a DemoRun), on an
// offscreen llvmpipe context (textures decoded, converted and uploaded, every
// prop imported, the whole tree with its controllers), with the model cache
// cleared before every build and with the cache switched off. Each build is
// taken down completely, textures included, before the next.

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
// registered by a running demo: the rest of start-up is the textures.
void BM_StartupTreeOnly(benchmark::State& state, bool cached)
{
    const DemoTree textures;
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
