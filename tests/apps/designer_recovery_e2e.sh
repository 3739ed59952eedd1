#!/usr/bin/env bash
# The designer ending at once with an unsaved change, in a real window without a window
# manager. SIGTERM and SIGHUP: the change goes to PAGE.recovered, named in the last
# message, and the status is 128 + the signal. The X server killed under it, at a random
# moment while it works (input arriving, an error box opening or open): it ends within
# 2 s with status 1, the change in the recovery file, the page file untouched.
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
  rm -f "$QELL_WINDOW_SNAPSHOT"
  "$designer" design "$page" >"$work/out.txt" 2>"$work/err.txt" &
  app_pid=$!
  wid=$(wait_window "Qell Designer")
  xdotool mousemove --window "$wid" "$value_x" "$(row_y 2)" click 1
  sleep 0.3
  xdotool type --delay 30 "$1"
  xdotool key Return
  for _ in $(seq 40); do
    [ "$(xdotool getwindowname "$wid")" = "Qell Designer - $page *" ] && return 0
    sleep 0.25
  done
  fail "the change to $1 was not made"
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

# start_server: a new X server, the old one being gone.
start_server() {
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 "$XVFB_SCREEN" -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  [ -s "$work/display" ] || fail "Xvfb gave no display number"
  export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
}

slowest=0
for try in $(seq "$tries"); do
  value=$((value + 1))
  [ "$try" -gt 1 ] && start_server
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
  # machine does not count; a designer that hangs is killed after 10 s.
  (sleep 10; kill -KILL "$app_pid" 2>/dev/null) &
  watchdog=$!
  killed=${EPOCHREALTIME/./}
  kill -KILL "$xvfb_pid"
  rc=0
  wait "$app_pid" || rc=$?
  took=$(((${EPOCHREALTIME/./} - killed) / 1000))
  app_pid=""
  kill "$watchdog" 2>/dev/null || true
  [ "$took" -le 2000 ] || fail "try $try: ended $took ms after the display went (exit $rc)"
  [ "$took" -gt "$slowest" ] && slowest=$took
  { wait "$mover" "$watchdog" "$xvfb_pid"; } 2>/dev/null || true
  xvfb_pid=""
  [ "$rc" -eq 1 ] || fail "try $try: exit code $rc after the display went, expected 1"
  expect_recovered "$value"
done
echo "designer recovery end to end: ok (SIGTERM, SIGHUP, $tries displays lost, ended at most $slowest ms after)"
