#!/usr/bin/env bash
# Seek latency of the real player, end to end: the player (--dev, muted,
# 1280x720 window) on this X display is sent the demo maker's seek keys with
# xdotool, and every seek it reports on its timing log (the time from the key
# to the new picture drawn) is listed, with the largest against the goal.
#
#   bench/seek-latency.sh [player]       (default: build-bench/src/quenvarix)
#
# The keys cover the costly cases: a second back just before the end (a
# rebuild and 44 s of frame steps), ten seconds on and back, the start.
set -euo pipefail

player=${1:-build-bench/src/quenvarix}
goal_ms=500
log=$(mktemp)
trap 'rm -f "$log"' EXIT

"$player" --windowed --size 1280x720 --dev --mute --timing-log --start 45000 2>"$log" &
pid=$!
sleep 3
for key in Left Home Page_Down Page_Down Page_Down Page_Down Page_Up Right \
           space period period comma Left space; do
  xdotool key "$key"
  sleep 0.7
done
xdotool key Escape
wait "$pid"

pattern='s/^quenvarix: seek to engine time \([0-9]*\) took \([0-9]*\) ms (processor \([0-9]*\) ms)$/\1 \2 \3/p'
seeks=$(sed -n "$pattern" "$log")
echo "seek to (ms)  took (ms)  processor (ms)"
echo "$seeks" | awk '{ printf "%12d  %9d  %14d\n", $1, $2, $3 }'
echo "$seeks" | awk -v goal="$goal_ms" '
  $2 > max { max = $2 } $3 > cpu { cpu = $3 }
  END { printf "largest: %d ms, processor %d ms (goal: at most %d ms) %s\n", max, cpu, goal,
               max <= goal ? "met" : "NOT met" }'
