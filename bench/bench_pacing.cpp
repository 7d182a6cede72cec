// Frame pacing: the real player loop (GLWidget at 50 fps, the real engine,
// renderer, music and demo) for 10 s under Xvfb, recording the intervals
// between frame ticks. The widget covers the screen as the player's main
// does. One run per process: the engine initialises only once.

#include "benchmain.h"
#include "tickrecorder.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <numeric>

namespace {

const int kRunMs = 10000;
const double kLateMs = 25.0;

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t index = size_t(p * double(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

double mean(const std::vector<double>& values)
{
    return values.empty() ? 0.0
                          : std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
}

void reportPacing(benchmark::State& state, const TickRecorder& widget)
{
    const std::vector<double>& intervals = widget.intervals();
    state.counters["ticks"] = double(intervals.size());
    state.counters["interval_mean_ms"] = mean(intervals);
    state.counters["interval_median_ms"] = percentile(intervals, 0.5);
    state.counters["interval_p99_ms"] = percentile(intervals, 0.99);
    state.counters["interval_max_ms"] = percentile(intervals, 1.0);
    state.counters["late_over_25ms"] = double(
        std::count_if(intervals.begin(), intervals.end(), [](double ms) { return ms > kLateMs; }));
    state.counters["work_median_ms"] = percentile(widget.workTimes(), 0.5);
    state.counters["work_p99_ms"] = percentile(widget.workTimes(), 0.99);
}

void BM_FramePacing(benchmark::State& state)
{
    for (auto _ : state) {
        TickRecorder widget;
        widget.setGeometry(QGuiApplication::primaryScreen()->geometry());
        widget.showFullScreen();
        QTimer::singleShot(kRunMs, qApp, &QCoreApplication::quit);
        qApp->exec();
        widget.hide();
        reportPacing(state, widget);
    }
}

}  // namespace

BENCHMARK(BM_FramePacing)->Iterations(1)->Repetitions(1)->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char** argv)
{
    return runBenchmarks(argc, argv);
}
