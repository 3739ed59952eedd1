#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine and runs the whole test suite: a
# build with warnings as errors, the same tests built by clang under the address and
# undefined behaviour sanitizers, and a short run of every fuzz target in tests/fuzz,
# which replays its seeds first. The fuzz targets are built in the sanitizer tree, so
# two builds serve the three runs, and two compilers check the code.
# QELL_FUZZ_SECONDS is the whole fuzzing budget, shared evenly by the targets
# (default 120; 0 skips fuzzing).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$root/scripts/deps.sh"

echo "== Build and test"
cmake -S "$root" -B "$root/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQELL_WERROR=ON >/dev/null
cmake --build "$root/build-test" -j"$jobs"
ctest --test-dir "$root/build-test" --output-on-failure -j"$jobs"

echo "== Address and undefined behaviour sanitizers, with the fuzz targets (clang)"
# Without the benchmarks, whose numbers mean nothing under the sanitizers; configured
# as scripts/fuzz.sh configures its tree, so that fuzzing here builds nothing more.
cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQELL_WERROR=ON \
    -DCMAKE_CXX_COMPILER=clang++ -DQELL_FUZZ=ON -DQELL_BENCHMARKS=OFF >/dev/null
cmake --build "$root/build-asan" -j"$jobs"
export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$root/build-asan" --output-on-failure -j"$jobs"

budget=${QELL_FUZZ_SECONDS:-120}
if [ "$budget" -gt 0 ]; then
  targets=()
  for source in "$root"/tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$source")
    targets+=("${name%_fuzz.cpp}")
  done
  each=$((budget / ${#targets[@]}))
  [ "$each" -ge 1 ] || each=1
  for target in "${targets[@]}"; do
    echo "== Fuzzing $target for ${each}s"
    QELL_FUZZ_BUILD="$root/build-asan" "$root/scripts/fuzz.sh" "$target" "$each"
  done
fi
