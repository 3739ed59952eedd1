# Sourced by the window tests. Skips the test (exit 77) when the X tools are missing,
# makes a work folder $work, starts a virtual X server (screen XVFB_SCREEN, by default
# 800x600x24) on a free display and exports DISPLAY; on exit it stops the program under
# test ($app_pid) and the server, and removes $work. fail MESSAGE prints the logs in
# $work and exits 1.

for tool in Xvfb xdotool /usr/bin/import /usr/bin/compare; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed"
    exit 77
  fi
done

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  for f in out.txt err.txt xvfb.log; do
    [ -s "$work/$f" ] && { echo "--- $f"; cat "$work/$f"; }
  done
  exit 1
}

# Xvfb picks a free display number itself and writes it to fd 3. -noreset: the server
# would otherwise reset when its last client leaves, refusing the program's next
# connection while it does (the program checks for a display, then opens it again).
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-800x600x24}" -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start"
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb gave no display number"
export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER XAUTHORITY
# SDL and the X libraries keep allocations until exit; leak reports are not ours.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
# The program writes every frame it presents here, so that a test knows when the
# window shows its first frame and can compare a screenshot with the last one.
export QELL_WINDOW_SNAPSHOT="$work/presented.png"

# wait_window NAME: the id of the visible window called NAME, once it has presented its
# first frame: input sent earlier would test a race with the first paint, not input.
wait_window() {
  local id=""
  for _ in $(seq 300); do
    [ -s "$QELL_WINDOW_SNAPSHOT" ] && break
    sleep 0.1
  done
  [ -s "$QELL_WINDOW_SNAPSHOT" ] || fail "the window presented no frame"
  # Looked up only once the frame is there: SDL makes and drops a window of the same
  # name when the program checks for a display, and an id found earlier may be that
  # one, gone by the time it is used. Polled rather than --sync, for the same reason.
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1) || true
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || fail "the window did not appear"
  xdotool windowfocus --sync "$id" || true
  echo "$id"
}

# click WID X Y: a left click at X,Y of the window, apart from the next one so that
# two clicks are not one double click.
click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.6
}

# expect_presented WID: a screenshot of the window equals the surface the program
# presented last, pixel for pixel, once the program has caught up (at most 10 s).
expect_presented() {
  for _ in $(seq 40); do
    sleep 0.25
    [ -s "$QELL_WINDOW_SNAPSHOT" ] || continue
    /usr/bin/import -window "$1" "$work/shot.png" 2>/dev/null || continue
    /usr/bin/compare -metric AE "$work/shot.png" "$QELL_WINDOW_SNAPSHOT" null: 2>"$work/ae.txt" && return 0
  done
  fail "screenshot differs from the presented surface ($(cat "$work/ae.txt") pixels)"
}

# wait_exit: waits for $app_pid to end (at most 20 s) and sets rc to its exit code.
wait_exit() {
  rc=0
  timeout 20 tail --pid="$app_pid" -f /dev/null || fail "the program did not end"
  wait "$app_pid" || rc=$?
  app_pid=""
}
