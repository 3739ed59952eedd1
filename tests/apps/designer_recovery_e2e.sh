#!/usr/bin/env bash
# The designer ending at once with an unsaved change, in a real window without a window
# manager. SIGTERM and SIGHUP: the change goes to PAGE.recovered, named in the last
# message, and the status is 128 + the signal. The X server killed under it, at a random
# moment while it works (input arriving, an error box opening or open): it ends with
# status 1, the change in the recovery file, the page file untouched. The time from the
# display's loss to the end is printed ("display loss to exit"), with the CPU time the
# designer used in it; a designer that spins (10 s of CPU time, where ending takes a
# fraction of one) or hangs ($patience s) is ended and fails the test, saying which.
# Its window destroyed by another client: the same as the display's loss. A value
# typed and not yet set goes into the recovery file as typed.
# usage: designer_recovery_e2e.sh path/to/qell-designer      (exit 77: X tools missing)
set -euo pipefail
designer=${1:?usage: designer_recovery_e2e.sh QELL_DESIGNER}
tries=6
export XVFB_SCREEN=1280x800x24
source "$(dirname "$0")/../support/xvfb.sh"

page="$work/page.txt"
"$designer" new "$page" || fail "cannot write the sample page"
cp "$page" "$work/original.txt"
# The page's Width and Height rows of the inspector (see designer_focus_e2e.sh).
value_x=$((1216 - 8 - 300 + 140 + 40))
row_y() { echo $((8 + 20 + 21 + 4 + 2 + $1 * 18 + 8)); }

# start_designer: the designer on the page, with its Width changed to $1 and not saved.
start_designer() {
  start_window "Qell Designer" "$designer" design "$page"
  xdotool mousemove --window "$wid" "$value_x" "$(row_y 2)" click 1
  sleep 0.3
  xdotool type --delay 30 "$1"
  xdotool key Return
  eventually has_title "$wid" "Qell Designer - $page *" || fail "the change to $1 was not made"
}

# expect_recovered VALUE: the recovery file holds the page with Width VALUE, the last
# message names it, the page file is as it was; then the recovery file goes.
expect_recovered() {
  [ -f "$page.recovered" ] || fail "no recovery file"
  [ "$(awk '/^  Width =/ { print $3 }' "$page.recovered")" = "$1" ] || fail "the recovery file lacks Width = $1"
  tail -n 1 "$work/err.txt" | grep -qF "$page.recovered" || fail "the last message does not name the recovery file"
  cmp -s "$page" "$work/original.txt" || fail "the page file changed"
  rm -f "$page.recovered"
}

value=700
for signal in TERM HUP; do
  value=$((value + 1))
  start_designer "$value"
  kill "-$signal" "$app_pid"
  wait_exit
  expected=$((128 + $(kill -l "$signal")))
  [ "$rc" -eq "$expected" ] || fail "exit code $rc after SIG$signal, expected $expected"
  expect_recovered "$value"
done

# Its window destroyed by another program: nothing is left to show or to type into,
# so the designer ends as when the display goes, keeping the change.
value=$((value + 1))
start_designer "$value"
xdotool windowclose "$wid" 2>/dev/null || true
wait_exit
[ "$rc" -eq 1 ] || fail "exit code $rc after the window was destroyed, expected 1"
expect_recovered "$value"

# A value typed into a row and not yet set: the recovery file keeps it as typed.
start_designer 799
xdotool mousemove --window "$wid" "$value_x" "$(row_y 3)" click 1
sleep 0.3
xdotool type --delay 30 "4321"
# F1's box opening says every key before it was handled; the typed text stays unset.
xdotool key F1
eventually has_window '^Qell Designer keys$' || fail "F1 opened no box"
kill -TERM "$app_pid"
wait_exit
[ "$rc" -eq 143 ] || fail "exit code $rc after SIGTERM with typed text, expected 143"
grep -q '^// typed .*4321' "$page.recovered" || fail "the recovery file lacks the typed text: $(head -3 "$page.recovered")"
expect_recovered 799

# cpu_ms PID: the CPU time (user and system) the process has used, in milliseconds.
clock_ticks=$(getconf CLK_TCK)
cpu_ms() {
  local stat
  read -r -a stat 2>/dev/null <"/proc/$1/stat" || return 1
  echo $(((stat[13] + stat[14]) * 1000 / clock_ticks))
}

# watch_end PID CPU_MS: ends the process once it has used 10 s of CPU time more than
# CPU_MS (it spins) or after $patience s (it hangs), saying which in $work/verdict.
# Meanwhile $work/cpu holds the CPU time it has used beyond CPU_MS, a fifth of a
# second ago at most.
watch_end() {
  local pid=$1 before=$2 start=$SECONDS cpu
  while cpu=$(cpu_ms "$pid") && [ -n "$cpu" ]; do
    echo $((cpu - before)) >"$work/cpu"
    if [ $((cpu - before)) -gt 10000 ]; then
      echo "spins: $((cpu - before)) ms of CPU time in $((SECONDS - start)) s" >"$work/verdict"
    elif [ $((SECONDS - start)) -ge "$patience" ]; then
      echo "hangs: not ended after $patience s, having used $((cpu - before)) ms of CPU time" >"$work/verdict"
    else
      sleep 0.2
      continue
    fi
    kill -KILL "$pid"
    return
  done
}

times_ms=()
cpus_ms=()
for try in $(seq "$tries"); do
  value=$((value + 1))
  [ "$try" -gt 1 ] && start_xvfb
  start_designer "$value"
  # Every other try a refused Height opens an error box, under way or open at the kill.
  if [ $((try % 2)) -eq 0 ]; then
    xdotool mousemove --window "$wid" "$value_x" "$(row_y 3)" click 1
    xdotool type --delay 20 "abc"
    xdotool key Return
  fi
  # The pointer moving over the preview, from one client (starting one per move would
  # load the machine more than the designer).
  moves=()
  for x in $(seq 300 60 900); do moves+=(mousemove --window "$wid" "$x" 200 sleep 0.05); done
  xdotool "${moves[@]}" >/dev/null 2>&1 &
  mover=$!
  sleep "0.$((RANDOM % 10))"
  # Timed with the shell's own clock and wait, so that starting processes on a busy
  # machine does not count.
  rm -f "$work/verdict" "$work/cpu"
  before=$(cpu_ms "$app_pid")
  watch_end "$app_pid" "$before" &
  watcher=$!
  killed=${EPOCHREALTIME/./}
  kill -KILL "$xvfb_pid"
  rc=0
  wait "$app_pid" || rc=$?
  took=$(((${EPOCHREALTIME/./} - killed) / 1000))
  wait "$watcher" 2>/dev/null || true
  [ -s "$work/verdict" ] && fail "try $try: the designer $(cat "$work/verdict") after the display went"
  cpus_ms+=("$(cat "$work/cpu" 2>/dev/null || echo 0)")
  app_pid=""
  times_ms+=("$took")
  { wait "$mover" "$xvfb_pid"; } 2>/dev/null || true
  xvfb_pid=""
  [ "$rc" -eq 1 ] || fail "try $try: exit code $rc after the display went, expected 1"
  expect_recovered "$value"
done
echo "display loss to exit, ms: ${times_ms[*]}"
echo "display loss to exit, CPU ms (at least): ${cpus_ms[*]}"
echo "designer recovery end to end: ok (SIGTERM, SIGHUP, $tries displays lost)"
