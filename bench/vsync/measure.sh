#!/usr/bin/env bash
# The player on a simulated screen with vertical sync: the whole demo under
# Xvfb with bench/vsync/vsyncshim.c preloaded, so that every buffer swap
# returns at the next refresh of a HZ screen; then the share of refreshes
# that showed a picture again, by sequence (bench/vsync/repeats.py).
#
#   bench/vsync/measure.sh BUILD HZ [player options...]
#   e.g. bench/vsync/measure.sh build 60; bench/vsync/measure.sh build 144 --windowed --size 640x360
# The virtual screen is SCREEN (default 1280x720x24), which the player covers.
set -euo pipefail
build=$1 hz=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
out=$build/vsync
mkdir -p "$out"
cc -O2 -shared -fPIC -o "$out/vsyncshim.so" "$here/vsyncshim.c" -ldl
log=$out/timing-$hz.log swaps=$out/swaps-$hz.log
QUENVARIX_VSYNC_HZ=$hz QUENVARIX_VSYNC_LOG=$swaps LIBGL_ALWAYS_SOFTWARE=1 QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 ${SCREEN:-1280x720x24}" \
  env LD_PRELOAD="$out/vsyncshim.so" "$build/src/quenvarix" --mute --timing-log --exit-at-end "$@" \
  2> "$log" >/dev/null
grep -m1 "frames follow" "$log" || true
python3 "$here/repeats.py" "$log" "$swaps"
