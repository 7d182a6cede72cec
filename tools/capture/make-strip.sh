#!/usr/bin/env bash
# Renders the README's strip of frames, docs/images/strip.png, with
# quenvarix-capture: six moments of the demo side by side.
#   tools/capture/make-strip.sh [BUILD_DIR]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/../.."
capture="${1:-build}/tools/capture/quenvarix-capture"
command -v montage >/dev/null || {
  echo "montage not found: install it with 'sudo apt-get install imagemagick'" >&2; exit 2; }
[[ -x "$capture" ]] || {
  echo "$capture not found: build it with 'cmake --build build --target quenvarix-capture'" >&2; exit 2; }
moments=(1000 11000 16500 30000 37500 44000)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run=()
[[ -n "${DISPLAY:-}" ]] || run=(xvfb-run -a -s "-screen 0 1280x1024x24")
for t in "${moments[@]}"; do
  "${run[@]}" "$capture" --from "$t" --to "$((t + 1))" --size 320x180 --quiet \
      --out "$work/$t" 2>/dev/null
  frames+=("$work/$t/frame_00000.png")
done
mkdir -p docs/images
montage "${frames[@]}" -tile "${#moments[@]}x1" -geometry +2+2 -background '#333333' \
    -define png:exclude-chunks=date,time docs/images/strip.png
echo "docs/images/strip.png: $(du -k docs/images/strip.png | cut -f1) KB"
