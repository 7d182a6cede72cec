#!/usr/bin/env python3
"""Prints the benchmark figures that the goals speak of, from the JSON files
that bench/run-benchmarks.sh leaves in <build>/bench/results/.

    python3 bench/summarize.py build-bench/bench/results
"""
import json
import os
import sys

FRAME_BUDGET_CPU_US = 1000.0


def load(directory, name):
    path = os.path.join(directory, name + ".json")
    if not os.path.exists(path):
        return {}
    with open(path) as f:
        data = json.load(f)
    runs = {}
    for b in data.get("benchmarks", []):
        # Repeated runs: keep the median; single runs: the run itself.
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        runs[b["run_name"]] = b
    return runs


def find(runs, prefix):
    for name, run in runs.items():
        if name.startswith(prefix):
            return run
    return None


def verdict(ok):
    return "met" if ok else "NOT met"


def line(label, value, goal=""):
    print(f"  {label:<46} {value:>22}  {goal}")


def objread(runs):
    print("OBJ reading (median MB/s, CPU time)")
    big_glm = find(runs, "BM_ReadGenerated/glmReadOBJ")
    big_stream = find(runs, "BM_ReadGenerated/stream_reader")
    if big_glm and big_stream:
        ratio = big_glm["MB"] / big_stream["MB"]
        line(f"generated {big_glm['file_MB']:.1f} MB, glmReadOBJ", f"{big_glm['MB']:.1f} MB/s")
        line("same file, classic stream reader", f"{big_stream['MB']:.1f} MB/s")
        line("ratio glmReadOBJ / stream reader", f"{ratio:.2f}x",
             f"(goal >= 1.5x tinyobjloader: not measured; vs. the stream reader {verdict(ratio >= 1.5)})")
    box_glm = find(runs, "BM_ReadDemoBox314/glmReadOBJ")
    box_stream = find(runs, "BM_ReadDemoBox314/stream_reader")
    if box_glm and box_stream:
        line("314 reads of data/box.obj, glmReadOBJ", f"{box_glm['real_time']:.2f} ms")
        line("314 reads of data/box.obj, stream reader", f"{box_stream['real_time']:.2f} ms")


def startup(runs):
    print("Start-up (median wall time)")
    cached = find(runs, "BM_Startup/model_cache")
    uncached = find(runs, "BM_Startup/no_model_cache")
    if cached and uncached:
        line("whole demo, model cache", f"{cached['real_time']:.1f} ms",
             f"goal < 150 ms: {verdict(cached['real_time'] < 150)}")
        line("whole demo, no model cache", f"{uncached['real_time']:.1f} ms")
        share = cached["real_time"] / uncached["real_time"]
        line("cached / uncached, whole demo", f"{share:.2f}",
             f"goal <= 0.33: {verdict(share <= 1 / 3)}")
    tree_cached = find(runs, "BM_StartupTreeOnly/model_cache")
    tree_uncached = find(runs, "BM_StartupTreeOnly/no_model_cache")
    if tree_cached and tree_uncached:
        line("tree only (textures excluded), model cache", f"{tree_cached['real_time']:.1f} ms")
        line("tree only, no model cache", f"{tree_uncached['real_time']:.1f} ms")
        line("cached / uncached, tree only",
             f"{tree_cached['real_time'] / tree_uncached['real_time']:.2f}")


def frame(runs):
    print("Frame cost (median per frame; counting renderer: CPU time, WidgetRenderer: wall time)")
    heaviest = None
    for name, run in sorted(runs.items(), key=lambda kv: int(kv[0].split("ms:")[1].split("/")[0].split("_")[0])):
        moment = name.split("ms:")[1].split("/")[0].split("_")[0]
        if name.startswith("BM_FrameCounting"):
            us = run["cpu_time"]
            line(f"{moment:>6} ms, CPU passes ({run['polygons/frame']:.0f} polygons)",
                 f"{us:.1f} us", f"{run['allocs/frame']:.0f} allocs/frame")
            if heaviest is None or us > heaviest[1]:
                heaviest = (moment, us, run["allocs/frame"])
        else:
            line(f"{moment:>6} ms, WidgetRenderer 1280x720", f"{run['real_time'] / 1000:.2f} ms")
    if heaviest:
        line(f"heaviest moment {heaviest[0]} ms, CPU passes", f"{heaviest[1]:.1f} us",
             f"goal <= 1000 us: {verdict(heaviest[1] <= FRAME_BUDGET_CPU_US)}")
        allocs = max(r["allocs/frame"] for n, r in runs.items() if n.startswith("BM_FrameCounting"))
        line("most allocations per frame, CPU passes", f"{allocs:.0f}",
             f"goal 0: {verdict(allocs == 0)}")


def memory(runs):
    print("Memory")
    peak = find(runs, "BM_PeakRssAfterStartup")
    if peak:
        line("peak RSS after start-up", f"{peak['peak_rss_MB']:.1f} MB",
             f"(before the demo: {peak['peak_rss_before_MB']:.1f} MB)")
        line("heap held by the demo tree and textures", f"{peak['demo_heap_MB']:.1f} MB")
    restart = find(runs, "BM_RestartGrowth")
    if restart:
        line("heap kept by each restart", f"{restart['heap_growth_bytes_per_restart']:.0f} B",
             "(a DemoRun takes everything down)")
    for prefix, label in (("BM_MeshPoint", "mesh point"), ("BM_MeshPolygon", "polygon"),
                          ("BM_ImportedTriangle/importer", "imported triangle (1 polygon + 3 points)"),
                          ("BM_ImportedTriangle/cache_copy", "cache copy, per triangle")):
        run = find(runs, prefix)
        if run:
            line(label, f"{run['bytes_each']:.0f} B",
                 f"sizeof {run['sizeof']:.0f} B, {run['allocs_each']:.1f} allocations")


def pacing(runs):
    print("Frame pacing (10 s of the real player under Xvfb)")
    run = find(runs, "BM_FramePacing")
    if run:
        line("ticks", f"{run['ticks']:.0f}")
        line("interval mean", f"{run['interval_mean_ms']:.2f} ms")
        line("interval median", f"{run['interval_median_ms']:.2f} ms",
             f"goal 20 ms: {verdict(abs(run['interval_median_ms'] - 20) < 0.5)}")
        line("interval 99th percentile", f"{run['interval_p99_ms']:.2f} ms",
             f"goal <= 22 ms: {verdict(run['interval_p99_ms'] <= 22)}")
        line("intervals over 25 ms", f"{run['late_over_25ms']:.0f}")
        line("update + repaint, median / 99th", f"{run['work_median_ms']:.2f} / {run['work_p99_ms']:.2f} ms")


def avsync(directory):
    path = os.path.join(directory, "avsync.json")
    if not os.path.exists(path):
        return
    with open(path) as f:
        results = json.load(f)
    print("Audio and picture (real player, whole demo, kicks in the recording vs the engine clock)")
    for condition, goal in (("quiet", 20), ("loaded", 40)):
        runs = [r for r in results if r["condition"] == condition]
        if not runs:
            continue
        starts = ", ".join(f"{r['start']:+d}" for r in runs)
        worst = max((r["worst"] for r in runs), key=abs)
        line(f"{condition}: start of each run", f"{starts} ms")
        line(f"{condition}: worst beat over {len(runs)} runs", f"{worst:+d} ms",
             f"goal within +-{goal} ms: {verdict(abs(worst) <= goal)}")


def main():
    directory = sys.argv[1] if len(sys.argv) > 1 else "build-bench/bench/results"
    for name, report in (("bench_objread", objread), ("bench_startup", startup),
                         ("bench_frame", frame), ("bench_memory", memory),
                         ("bench_pacing", pacing)):
        runs = load(directory, name)
        if runs:
            report(runs)
            print()
    avsync(directory)


if __name__ == "__main__":
    main()
