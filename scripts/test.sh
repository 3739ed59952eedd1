#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine and runs the whole test suite: a
# build with warnings as errors, the same tests built by clang under the address and
# undefined behaviour sanitizers, and a short run of every fuzz target in tests/fuzz,
# which replays its seeds first. The fuzz targets are built in the sanitizer tree, so
# two builds serve the three runs, and two compilers check the code.
# QELL_FUZZ_SECONDS is the whole fuzzing budget in seconds of one core, shared evenly
# by the targets, which run one per core at a time (default 120; 0 skips fuzzing).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
# Many tests mostly wait (on a window, on a program run whole): twice as many run at
# once as there are cores.
test_jobs=$((jobs * 2))
"$root/scripts/deps.sh"

# phase TITLE: ends the phase under way, printing its wall-clock time and the CPU time
# (user and system) of the commands it ran, and starts the next, if TITLE is given.
phase_title=""
phase_start=$SECONDS
phase_cpu=0
times_file=$(mktemp)
trap 'rm -f "$times_file"' EXIT
phase() {
  local cpu
  # `times` in this shell, not in a subshell, which has no children of its own.
  times >"$times_file"
  cpu=$(awk 'NR == 2 { split($1, u, /[ms]/); split($2, s, /[ms]/); print int(u[1] * 60 + u[2] + s[1] * 60 + s[2]) }' \
    "$times_file")
  [ -z "$phase_title" ] ||
    echo "== $phase_title: $((SECONDS - phase_start)) s, CPU $((cpu - phase_cpu)) s"
  phase_title=$1
  phase_start=$SECONDS
  phase_cpu=$cpu
  [ -z "$phase_title" ] || echo "== $phase_title"
}

phase "Build (gcc, warnings as errors)"
cmake -S "$root" -B "$root/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQELL_WERROR=ON >/dev/null
cmake --build "$root/build-test" -j"$jobs"
# The gcc tests mostly wait (on windows, on programs run whole) and hold on a busy
# machine: they run while the sanitizer tree builds, their report shown when both end.
phase "Tests (gcc), and the build with clang, address and undefined behaviour sanitizers and the fuzz targets"
ctest --test-dir "$root/build-test" --output-on-failure -j"$test_jobs" >"$root/build-test/tests.log" 2>&1 &
gcc_tests=$!
# Without the benchmarks, whose numbers mean nothing under the sanitizers; with line
# tables only, all a sanitizer's report needs (a tenth less build time than full -g).
cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQELL_WERROR=ON \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only -DNDEBUG" \
    -DCMAKE_CXX_COMPILER=clang++ -DQELL_FUZZ=ON -DQELL_BENCHMARKS=OFF >/dev/null
built=0
cmake --build "$root/build-asan" -j"$jobs" || built=$?
tested=0
wait "$gcc_tests" || tested=$?
if [ "$tested" -eq 0 ]; then
  sed -n '/tests passed/,$p' "$root/build-test/tests.log"
else
  cat "$root/build-test/tests.log"
fi
[ "$built" -eq 0 ] && [ "$tested" -eq 0 ]
phase "Tests (clang, sanitizers)"
export LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$root/build-asan" --output-on-failure -j"$test_jobs"

budget=${QELL_FUZZ_SECONDS:-120}
if [ "$budget" -gt 0 ]; then
  targets=()
  for source in "$root"/tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$source")
    targets+=("${name%_fuzz.cpp}")
  done
  each=$((budget / ${#targets[@]}))
  [ "$each" -ge 1 ] || each=1
  # A fuzzer runs on one core: one target per core at a time, each for its share.
  phase "Fuzzing ${#targets[@]} targets for ${each} s each, $jobs at a time"
  logs="$root/build-asan/fuzz-logs"
  mkdir -p "$logs"
  fuzz() { # TARGET: fuzzes it; its output goes to $logs, and only on failure here
    if QELL_FUZZ_BUILD="$root/build-asan" "$root/scripts/fuzz.sh" "$1" "$each" >"$logs/$1.log" 2>&1; then
      echo "$1: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$logs/$1.log" | tail -n 1)"
    else
      echo "== Fuzzing $1 failed:"
      tail -n 60 "$logs/$1.log"
      return 1
    fi
  }
  running=0
  failed=0
  for target in "${targets[@]}"; do
    if [ "$running" -ge "$jobs" ]; then
      wait -n || failed=1
      running=$((running - 1))
    fi
    fuzz "$target" &
    running=$((running + 1))
  done
  for _ in $(seq "$running"); do wait -n || failed=1; done
  [ "$failed" -eq 0 ]
fi
phase ""
