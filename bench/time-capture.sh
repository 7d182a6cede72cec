#!/usr/bin/env bash
# Times the capture tool rendering the whole demo to an H.264 video with its
# soundtrack, as `make video` does, at one frame size, and writes the figure
# as JSON for bench/summarize.py.
#
#   bench/time-capture.sh BUILD-DIR WxH OUT.json
set -euo pipefail

build=$1 size=$2 out=$3
capture="$build/tools/capture/quenvarix-capture"
video=$(mktemp -d)/capture.mp4
start=$(date +%s.%N)
"$capture" --size "$size" --quiet --out "$video"
end=$(date +%s.%N)
rm -rf "$(dirname "$video")"
python3 - "$start" "$end" "$size" "$out" <<'PY'
import json, sys
start, end, size, out = float(sys.argv[1]), float(sys.argv[2]), sys.argv[3], sys.argv[4]
seconds = end - start
with open(out, "w") as f:
    json.dump({"size": size, "wall_s": seconds, "demo_s": 46.0, "realtime_x": 46.0 / seconds}, f)
print(f"capture {size}: {seconds:.1f} s for 46 s of demo ({46.0 / seconds:.2f}x real time)")
PY
