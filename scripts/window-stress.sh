#!/usr/bin/env bash
# Runs the window end-to-end tests RUNS times each (default 20) on a loaded machine:
# two busy loops per core run beside them, busier than a loaded CI machine. Prints each
# failure's output and a summary, with the time from a lost display to the designer's
# end over every run of the recovery test; fails when any run failed.
# usage: scripts/window-stress.sh [RUNS] [BUILD_DIR]     (default build-asan)
# WINDOW_TESTS names the tests to run (default: all of toolkit stress dialog designer
# focus recovery screen layout drag eyedropper).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-20}
build=${2:-$root/build-asan}
for program in toolkit_sample qell-designer; do
  [ -x "$build/bin/$program" ] || { echo "missing $build/bin/$program: build it first" >&2; exit 2; }
done

busy=()
for _ in $(seq $(( $(nproc) * 2 ))); do
  (while :; do :; done) &
  busy+=($!)
done
trap 'kill "${busy[@]}" 2>/dev/null' EXIT

export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
failures=0
loss_ms=""
loss_cpu_ms=""
for test in ${WINDOW_TESTS:-toolkit stress dialog designer focus recovery screen layout drag eyedropper}; do
  failed=0
  for run in $(seq "$runs"); do
    case $test in
      toolkit) out=$(bash "$root/tests/toolkit/window_e2e.sh" "$build/bin/toolkit_sample" 2>&1) ;;
      dialog) out=$(bash "$root/tests/dialog/dialog_window_e2e.sh" "$build/bin/qell-designer" 2>&1) ;;
      designer) out=$(bash "$root/tests/apps/designer_window_e2e.sh" "$build/bin/qell-designer" 2>&1) ;;
      stress) out=$(bash "$root/tests/toolkit/window_stress_e2e.sh" "$build/bin/toolkit_sample" 2>&1) ;;
      focus) out=$(bash "$root/tests/apps/designer_focus_e2e.sh" "$build/bin/qell-designer" 2>&1) ;;
      recovery) out=$(bash "$root/tests/apps/designer_recovery_e2e.sh" "$build/bin/qell-designer" 2>&1) ;;
      screen | layout | drag | eyedropper)
        out=$(bash "$root/tests/apps/designer_${test}_e2e.sh" "$build/bin/qell-designer" 2>&1) ;;
      *) echo "unknown window test '$test'" >&2; exit 2 ;;
    esac
    rc=$?
    loss_ms+=" $(printf '%s\n' "$out" | sed -n 's/^display loss to exit, ms: //p')"
    loss_cpu_ms+=" $(printf '%s\n' "$out" | sed -n 's/^display loss to exit, CPU ms (at least): //p')"
    if [ "$rc" -ne 0 ]; then
      failed=$((failed + 1))
      echo "--- $test run $run failed (exit $rc):"
      printf '%s\n' "$out" | tail -n 20
    fi
  done
  echo "$test window test: $failed of $runs runs failed"
  failures=$((failures + failed))
done

# summary LABEL NUMBERS: how many, the median and the largest.
summary() {
  printf '%s\n' $2 | sort -n | awk -v label="$1" '{ v[NR] = $1 }
    END { if (NR) printf "%s: %d times, median %d ms, at most %d ms\n", label, NR, v[int((NR + 1) / 2)], v[NR] }'
}
summary "display loss to exit" "$loss_ms"
summary "display loss to exit, CPU time (at least)" "$loss_cpu_ms"
[ "$failures" -eq 0 ]
