#!/usr/bin/env bash
# Runs every benchmark program of a build directory (needs an X display:
# `make bench` starts this under xvfb-run), keeps the JSON results in
# <build>/bench/results/ and prints the summary against the goals.
#
#   bench/run-benchmarks.sh [build-dir]        (default: build-bench)
#
# The machine is shared and noisy: timed benchmarks run with repetitions and
# the summary reports their medians.
set -euo pipefail

build=${1:-build-bench}
here=$(cd "$(dirname "$0")" && pwd)
bin="$build/bench"
results="$bin/results"
mkdir -p "$results"
export QT_QPA_PLATFORM=xcb LIBGL_ALWAYS_SOFTWARE=1

run() {
  local name=$1; shift
  echo "== $name"
  "$bin/$name" --benchmark_out="$results/$name.json" --benchmark_out_format=json "$@"
  echo
}

run bench_objread  --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
run bench_startup  --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
run bench_frame    --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
                   --benchmark_min_time=0.2
run bench_memory

# Frame pacing and capture at two frame sizes, each on an X screen of its own
# size (the player covers its screen).
for size in 1280x720 1920x1080; do
  echo "== bench_pacing $size"
  xvfb-run -a -s "-screen 0 ${size}x24" "$bin/bench_pacing" \
    --benchmark_out="$results/bench_pacing_$size.json" --benchmark_out_format=json \
    --ticks_out="$results/pacing_$size.csv"
  "$here/plot-pacing.py" "$results/pacing_$size.csv" "$results/pacing_$size.png" \
    "Frame pacing at $size, the real player loop on llvmpipe (load $(cut -d' ' -f1-3 /proc/loadavg))"
  echo
  echo "== capture $size"
  "$here/time-capture.sh" "$build" "$size" "$results/capture_$size.json"
  echo
done

echo "== seek latency (the real player, bench/seek-latency.sh)"
xvfb-run -a -s "-screen 0 1280x1024x24" "$here/seek-latency.sh" "$build/src/quenvarix" \
  | tee "$results/seek-latency.txt"
echo

# The real player over the whole demo, five runs and two with both cores
# busy, on its own X server at 1280x720 and its own PulseAudio and PipeWire
# null sinks; then from --start, after a pause and after a seek; then with a
# recorder that leaves PipeWire's period to the player.
avsync() {
  xvfb-run -a -s "-screen 0 1280x720x24" "$here/avsync.py" "$build/src/quenvarix" "$@"
}
echo "== avsync"
avsync --runs 5 --loaded-runs 2 --json "$results/avsync.json"
echo "== avsync from --start 20000"
avsync --runs 2 --loaded-runs 1 --start 20000 --until 32000 --json "$results/avsync-start.json"
echo "== avsync after a 3 s pause"
avsync --runs 2 --loaded-runs 1 --pause-at 10000 --until 22000 --json "$results/avsync-pause.json"
echo "== avsync after a seek"
avsync --runs 2 --loaded-runs 1 --seek-at 10000 --until 22000 --json "$results/avsync-seek.json"
echo "== avsync after 30 seeks in a row"
avsync --runs 2 --loaded-runs 1 --seek-at 6000 --seeks 30 --json "$results/avsync-seeks.json"
echo "== avsync with PipeWire at the player's own period (the recorder asks for 100 ms)"
avsync --runs 3 --loaded-runs 1 --recorder-latency 100 --until 30000 --json "$results/avsync-own-period.json"
echo

echo "== Machine"
echo "cpu:    $(lscpu | sed -n 's/^Model name: *//p' | head -1), $(nproc) cores"
echo "memory: $(free -g | awk '/^Mem:/ {print $2 " GiB"}')"
echo "kernel: $(uname -r)"
echo "mesa:   $(dpkg-query -W -f='${Version}' libgl1-mesa-dri 2>/dev/null || echo unknown)"
echo "load:   $(uptime | sed 's/.*load average: //')"
echo
python3 "$here/summarize.py" "$results"
