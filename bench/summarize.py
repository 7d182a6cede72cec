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
    peers = [(name, find(runs, "BM_ReadGeneratedPeer/" + name)) for name in ("tinyobjloader", "assimp")]
    big_stream = find(runs, "BM_ReadGenerated/stream_reader")
    if big_glm:
        line(f"generated {big_glm['file_MB']:.1f} MB, glmReadOBJ", f"{big_glm['MB']:.1f} MB/s")
        for name, peer in peers + [("classic stream reader", big_stream)]:
            if peer:
                line(f"same file, {name}", f"{peer['MB']:.1f} MB/s")
        tinyobj = peers[0][1]
        if tinyobj:
            ratio = big_glm["MB"] / tinyobj["MB"]
            line("ratio glmReadOBJ / tinyobjloader", f"{ratio:.2f}x", f"goal >= 2.5x: {verdict(ratio >= 2.5)}")
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


GOAL_SIZE = "1280x720"  # the goals speak of this size; others are reported as measured
SEQUENCES = ("intro", "flicker", "bouncing_boxes", "pulsing_boxes", "scenery", "cogwheels",
             "box_trail", "whole_demo")


def pacing(size, runs):
    print(f"Frame pacing at {size} (the real player over the whole timeline under Xvfb)")
    print(f"  {'sequence':<16} {'ticks':>6} {'median':>7} {'p99':>7} {'max':>7} {'late':>5}"
          f" {'work med':>9} {'work max':>9} {'cpu med':>8} {'cpu max':>8}   goals")
    for sequence in SEQUENCES:
        run = find(runs, f"BM_FramePacing/{size}/{sequence}")
        if not run:
            continue
        median, p99 = run["interval_median_ms"], run["interval_p99_ms"]
        late, work_max = run["late_over_25ms"], run["work_max_ms"]
        met = abs(median - 20) <= 0.5 and p99 <= 22 and late <= 0.01 * run["ticks"] and work_max <= 10
        print(f"  {sequence:<16} {run['ticks']:>6.0f} {median:>7.2f} {p99:>7.2f}"
              f" {run['interval_max_ms']:>7.2f} {late:>5.0f} {run['work_median_ms']:>9.2f}"
              f" {work_max:>9.2f} {run.get('work_cpu_median_ms', 0):>8.2f}"
              f" {run.get('work_cpu_max_ms', 0):>8.2f}   {verdict(met) if size == GOAL_SIZE else ''}")
    print("  (ms; late: intervals over 25 ms after the first second; work: update + repaint,"
          " wall; cpu: the same, CPU time of all threads;")
    print("   goals: median 20 +- 0.5, p99 <= 22, at most 1 % late, heaviest work <= 10)")
    print(f"  every tick drawn over the timeline: pacing_{size}.png beside the results")


def capture(directory):
    for size in ("1280x720", "1920x1080"):
        path = os.path.join(directory, f"capture_{size}.json")
        if not os.path.exists(path):
            continue
        with open(path) as f:
            run = json.load(f)
        goal = f"goal >= 2.5x: {verdict(run['realtime_x'] >= 2.5)}" if size == "1280x720" else ""
        line(f"capture {size}, whole demo to H.264 + audio", f"{run['wall_s']:.1f} s",
             f"{run['realtime_x']:.2f}x real time  {goal}")


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
                         ("bench_frame", frame), ("bench_memory", memory)):
        runs = load(directory, name)
        if runs:
            report(runs)
            print()
    for size in ("1280x720", "1920x1080"):
        runs = load(directory, f"bench_pacing_{size}")
        if runs:
            pacing(size, runs)
            print()
    print("Capture (quenvarix-capture --out FILE.mp4, wall time)")
    capture(directory)
    print()
    avsync(directory)


if __name__ == "__main__":
    main()
