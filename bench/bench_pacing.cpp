// Frame pacing: the real player loop (GLWidget at 50 fps, the real engine,
// renderer, music and demo) over the whole timeline under Xvfb, recording
// the intervals between frame ticks. The widget covers the screen as the
// player's main does, so the frame size is the X screen's: run it under
// `xvfb-run -s "-screen 0 1280x720x24"` and again at 1920x1080.
//
// The demo plays once, before the benchmarks run (the engine initialises
// only once per process); each sequence of the timeline is then reported as
// a row of its own, named after the screen size.
//
// --ticks_out=FILE also writes every tick as CSV, the sequences first as
// comment lines, for bench/plot-pacing.py to draw.

#include "benchmain.h"
#include "engine.h"
#include "tickrecorder.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

const int kDemoEndMs = 47000;    // the last sequence ends at 46000
const int kSettleMs = 1000;      // start-up hiccups are not counted as late
const double kLateMs = 25.0;

struct Sequence
{
    const char* name;
    int from;  // engine time, included
    int to;    // engine time, excluded
};

const Sequence kSequences[] = {
    {"intro", 0, 5000},          {"flicker", 5000, 9000},
    {"bouncing_boxes", 9000, 14700}, {"pulsing_boxes", 14700, 27500},
    {"scenery", 27500, 36000},   {"cogwheels", 36000, 40000},
    {"box_trail", 40000, kDemoEndMs}, {"whole_demo", 0, kDemoEndMs},
};

struct Ticks
{
    std::vector<double> intervals;
    std::vector<double> work;
    std::vector<double> workCpu;
    int late = 0;
};

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t index = size_t(p * double(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

Ticks ticksOf(const TickRecorder& widget, const Sequence& sequence)
{
    Ticks ticks;
    for (size_t i = 0; i < widget.engineTimes().size(); ++i) {
        const int at = widget.engineTimes()[i];
        if (at < sequence.from || at >= sequence.to)
            continue;
        ticks.intervals.push_back(widget.intervals()[i]);
        ticks.work.push_back(widget.workTimes()[i]);
        ticks.workCpu.push_back(widget.workCpuTimes()[i]);
        if (at >= kSettleMs && widget.intervals()[i] > kLateMs)
            ++ticks.late;
    }
    return ticks;
}

void reportPacing(benchmark::State& state, const Ticks& ticks)
{
    double wallMs = 0.0;
    for (double interval : ticks.intervals)
        wallMs += interval;
    for (auto _ : state)
        state.SetIterationTime(wallMs / 1000.0);
    state.counters["ticks"] = double(ticks.intervals.size());
    state.counters["interval_median_ms"] = percentile(ticks.intervals, 0.5);
    state.counters["interval_p99_ms"] = percentile(ticks.intervals, 0.99);
    state.counters["interval_max_ms"] = percentile(ticks.intervals, 1.0);
    state.counters["late_over_25ms"] = double(ticks.late);
    state.counters["work_median_ms"] = percentile(ticks.work, 0.5);
    state.counters["work_max_ms"] = percentile(ticks.work, 1.0);
    state.counters["work_cpu_median_ms"] = percentile(ticks.workCpu, 0.5);
    state.counters["work_cpu_max_ms"] = percentile(ticks.workCpu, 1.0);
    // The sequence's first frame meets its state and meshes for the first time.
    state.counters["work_cpu_first_ms"] = ticks.workCpu.empty() ? 0.0 : ticks.workCpu.front();
}

// Plays the demo to its end in the real player loop.
void playWholeDemo(TickRecorder& widget)
{
    widget.setGeometry(QGuiApplication::primaryScreen()->geometry());
    widget.showFullScreen();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [] {
        if (Engine::GetInstance()->GetCurrentTime() >= kDemoEndMs)
            qApp->quit();
    });
    watch.start(100);
    qApp->exec();
    widget.hide();
}

void writeTicks(const TickRecorder& widget, const std::string& path)
{
    std::ofstream out(path);
    for (const Sequence& sequence : kSequences)
        out << "# sequence," << sequence.name << ',' << sequence.from << ',' << sequence.to << '\n';
    out << "# budget_ms,20\n# late_ms," << kLateMs << '\n';
    out << "engine_ms,interval_ms,work_ms,work_cpu_ms\n";
    for (size_t i = 0; i < widget.engineTimes().size(); ++i)
        out << widget.engineTimes()[i] << ',' << widget.intervals()[i] << ',' << widget.workTimes()[i] << ','
            << widget.workCpuTimes()[i] << '\n';
    if (!out)
        fprintf(stderr, "bench_pacing: cannot write %s\n", path.c_str());
}

// Takes --ticks_out=FILE out of the arguments; empty when it is not given.
std::string takeTicksOut(int& argc, char** argv)
{
    const char* flag = "--ticks_out=";
    std::string path;
    int kept = 0;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0)
            path = argv[i] + std::strlen(flag);
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return path;
}

void registerRows(const TickRecorder& widget)
{
    const QSize size = QGuiApplication::primaryScreen()->size();
    const std::string prefix = "BM_FramePacing/" + std::to_string(size.width()) + "x"
                               + std::to_string(size.height()) + "/";
    for (const Sequence& sequence : kSequences) {
        const Ticks ticks = ticksOf(widget, sequence);
        benchmark::RegisterBenchmark((prefix + sequence.name).c_str(),
                                     [ticks](benchmark::State& state) { reportPacing(state, ticks); })
            ->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string ticksOut = takeTicksOut(argc, argv);
    return runBenchmarks(argc, argv, DisplayUse::Needed, [&ticksOut] {
        TickRecorder widget;
        playWholeDemo(widget);
        registerRows(widget);
        if (!ticksOut.empty())
            writeTicks(widget, ticksOut);
    });
}
