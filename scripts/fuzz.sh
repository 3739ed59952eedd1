#!/usr/bin/env bash
# usage: fuzz.sh TARGET [SECONDS]
# Builds the libFuzzer target TARGET (tests/fuzz/TARGET_fuzz.cpp) with clang in
# build-fuzz and runs it for SECONDS (default 60); or runs it from the build folder
# QELL_FUZZ_BUILD names, already built with the fuzz targets (the test command's
# sanitizer tree, which runs several targets at once from it). It starts from
# the seeds in tests/fuzz/corpus/TARGET, which stay as they are, and the working corpus
# BUILD/corpus/TARGET, where new inputs go; tests/fuzz/TARGET.dict is used when there
# is one. Fails on any crash, leak, hang or broken check, leaving the input that caused
# it in BUILD/ as TARGET-crash-..., TARGET-leak-... or TARGET-timeout-....
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=${1:?usage: fuzz.sh TARGET [SECONDS]}
seconds=${2:-60}
if [ ! -f "$root/tests/fuzz/${target}_fuzz.cpp" ]; then
  echo "fuzz.sh: no target '$target'; there are:" $(cd "$root/tests/fuzz" && ls *_fuzz.cpp | sed 's/_fuzz.cpp$//') >&2
  exit 2
fi
build=${QELL_FUZZ_BUILD:-}
if [ -z "$build" ]; then
  build=$root/build-fuzz
  cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DQELL_FUZZ=ON -DQELL_BENCHMARKS=OFF \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" --target "fuzz_$target" -j"$(nproc)"
fi
work="$build/corpus/$target"
mkdir -p "$work"
options=(-max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$build/$target-")
[ -f "$root/tests/fuzz/$target.dict" ] && options+=(-dict="$root/tests/fuzz/$target.dict")
"$build/bin/fuzz_$target" "${options[@]}" "$work" "$root/tests/fuzz/corpus/$target"
