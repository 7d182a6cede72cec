#!/usr/bin/env bash
# The player under weston's headless back end (no X display): the whole demo
# with --timing-log, in a private runtime directory; weston is stopped by its
# pid whatever happens. Prints the pacing line and, per second of the demo,
# the pictures and the refreshes that repeated one, then their totals.
#
#   bench/vsync/weston.sh BUILD [player options...]
set -euo pipefail
build=$1
shift
runtime=$(mktemp -d)
chmod 700 "$runtime"
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --use-pixman --no-config \
  --idle-time=0 --socket=quenvarix-bench --width=1280 --height=720 >"$runtime/weston.log" 2>&1 &
weston=$!
trap 'kill $weston 2>/dev/null; wait $weston 2>/dev/null; rm -rf "$runtime"' EXIT
for _ in $(seq 100); do [[ -S $runtime/quenvarix-bench ]] && break; sleep 0.1; done
log=$build/vsync/weston-timing.log
mkdir -p "$build/vsync"
env -u DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=quenvarix-bench \
  "$build/src/quenvarix" --mute --timing-log --exit-at-end "$@" 2>"$log" >/dev/null
grep -m1 "frames follow" "$log" || true
sed -nE 's/^quenvarix: engine ([0-9]+) ms.*frames ([0-9]+),.*repeated refreshes ([0-9]+)$/\1 \2 \3/p' "$log" |
  awk '{ printf "engine %5d ms: %3d pictures, %2d repeated refreshes\n", $1, $2, $3;
         pictures += $2; repeats += $3 }
       END { printf "total: %d pictures, %d repeated refreshes (%.1f%%)\n", pictures, repeats,
             100 * repeats / (pictures + repeats) }'
