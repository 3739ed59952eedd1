#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine and runs the whole test suite: a
# build with warnings as errors, the same tests under the address and undefined
# behaviour sanitizers, and a bounded run of the form reader's fuzzer.
# QELL_FUZZ_SECONDS sets the fuzzing time (default 60; 0 skips it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$root/scripts/deps.sh"

echo "== Build and test"
cmake -S "$root" -B "$root/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQELL_WERROR=ON >/dev/null
cmake --build "$root/build-test" -j"$jobs"
ctest --test-dir "$root/build-test" --output-on-failure -j"$jobs"

echo "== Address and undefined behaviour sanitizers"
cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQELL_WERROR=ON \
    -DQELL_SANITIZE=address,undefined >/dev/null
cmake --build "$root/build-asan" -j"$jobs"
export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$root/build-asan" --output-on-failure -j"$jobs"

seconds=${QELL_FUZZ_SECONDS:-60}
if [ "$seconds" -gt 0 ]; then
  echo "== Fuzzing the form reader for ${seconds}s"
  "$root/scripts/fuzz.sh" "$seconds"
fi
