#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz/ (clang, ASan + UBSan) and runs
# each one from its seed corpus with a fixed seed.
#
#   fuzz/run.sh                    10000 runs per target (the CI setting)
#   fuzz/run.sh 500000             that many runs per target
#   fuzz/run.sh 600s               ten minutes per target
#   fuzz/run.sh 600s fuzz_mtl ...  only the targets named
#
# New inputs go to build-fuzz/corpus/<target>/; the committed seeds in
# fuzz/corpus/<target>/ are only read. A crash leaves its input in build-fuzz/
# and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."

limit=${1:-10000}
case "$limit" in
  *s) budget=(-max_total_time="${limit%s}") ;;
  *)  budget=(-runs="$limit") ;;
esac
shift || true
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(fuzz_glm fuzz_import fuzz_mtl fuzz_image)

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DQUENVARIX_FUZZ=ON -DQUENVARIX_TESTS=OFF >/dev/null
cmake --build build-fuzz --target "${targets[@]}" -j2

for target in "${targets[@]}"; do
  work=build-fuzz/corpus/$target
  dict=fuzz/obj.dict
  [[ $target == fuzz_image ]] && dict=fuzz/image.dict
  mkdir -p "$work"
  echo "== $target (${budget[*]}, seed 1)"
  # -reload=0: one process per target, nothing else adds to its corpus.
  # -close_fd_mask=3: the reader's warnings stay quiet; libFuzzer and the
  # sanitizers still report on their own copy of standard error.
  build-fuzz/fuzz/$target -seed=1 "${budget[@]}" -max_len=4096 -timeout=10 \
      -dict="$dict" -close_fd_mask=3 -reload=0 -print_final_stats=1 \
      -artifact_prefix=build-fuzz/ "$work" "fuzz/corpus/$target"
done
