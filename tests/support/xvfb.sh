# Sourced by the window tests. Skips the test (exit 77) when the X tools are missing,
# makes a work folder $work (with the designer's settings in $work/config, so that no
# test reads or writes the user's), starts a virtual X server (screen XVFB_SCREEN, by default
# 800x600x24) on a free display and exports DISPLAY; on exit it stops the program under
# test ($app_pid) and the server, and removes $work. fail MESSAGE prints the logs in
# $work and exits 1.
#
# Every wait here ends after $patience seconds: a bound that catches a hang, far beyond
# what a healthy run takes under the sanitizers on a machine busy with other work.
patience=60

for tool in Xvfb xdotool /usr/bin/import /usr/bin/compare; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed"
    exit 77
  fi
done

work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config"
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

# eventually COMMAND...: runs COMMAND every quarter second until it succeeds; fails
# once $patience seconds have passed.
eventually() {
  local deadline=$((SECONDS + patience))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.25
  done
}

# start_xvfb: a new virtual X server ($xvfb_pid), its display exported as DISPLAY. Xvfb
# picks a free display number itself and writes it to fd 3. -noreset: the server would
# otherwise reset when its last client leaves, refusing the program's next connection
# while it does (the program checks for a display, then opens it again).
start_xvfb() {
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-800x600x24}" -nolisten tcp -noreset 3>"$work/display" \
    2>"$work/xvfb.log" &
  xvfb_pid=$!
  eventually xvfb_ready || fail "Xvfb gave no display number"
  export DISPLAY=":$(tr -d '[:space:]' <"$work/display")"
}
xvfb_ready() {
  [ -s "$work/display" ] && return 0
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start"
  return 1
}

start_xvfb
unset WAYLAND_DISPLAY SDL_VIDEODRIVER XAUTHORITY
# SDL and the X libraries keep allocations until exit; leak reports are not ours.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
# The program writes every frame it presents here, so that a test knows when the
# window shows its first frame and can compare a screenshot with the last one.
export QELL_WINDOW_SNAPSHOT="$work/presented.png"

# windows NAME: the ids of the visible windows whose name matches NAME, one a line;
# nothing when none does. A window that goes while xdotool reads it makes xdotool fail
# with an X error (BadWindow), which says nothing about the windows asked for: the
# search is made again.
windows() {
  local ids
  for _ in $(seq 50); do
    if ids=$(xdotool search --onlyvisible --name "$1" 2>"$work/search.err"); then
      printf '%s\n' "$ids"
      return 0
    fi
    # Without an error, xdotool's failure means that no window matched.
    [ -s "$work/search.err" ] || return 0
  done
  echo "xdotool search keeps failing: $(cat "$work/search.err")" >&2
  return 1
}

# window_name WID: the window's name, empty once the window is gone.
window_name() {
  xdotool getwindowname "$1" 2>/dev/null || true
}

# has_window NAME / no_window NAME: whether a visible window's name matches NAME.
has_window() {
  [ -n "$(windows "$1")" ]
}
no_window() {
  local ids
  ids=$(windows "$1") && [ -z "$ids" ]
}

# has_title WID TITLE: the window is there and its name is TITLE.
has_title() {
  [ "$(window_name "$1")" = "$2" ]
}

# wait_window NAME: the id of the visible window called NAME, once it has presented its
# first frame: input sent earlier would test a race with the first paint, not input.
wait_window() {
  local id
  eventually [ -s "$QELL_WINDOW_SNAPSHOT" ] || fail "the window presented no frame"
  # Looked up only once the frame is there: SDL makes and drops a window of the same
  # name when the program checks for a display, and an id found earlier may be that
  # one, gone by the time it is used. Polled rather than --sync, for the same reason.
  eventually has_window "$1" || fail "the window did not appear"
  id=$(windows "$1" | head -n1)
  xdotool windowfocus --sync "$id" || true
  echo "$id"
}

# start_window NAME COMMAND...: runs COMMAND in the background as $app_pid, its output
# in $work/out.txt and $work/err.txt, and sets wid to its window called NAME once that
# has presented its first frame (a frame from an earlier run does not count).
start_window() {
  local name=$1
  shift
  rm -f "$QELL_WINDOW_SNAPSHOT"
  "$@" >"$work/out.txt" 2>"$work/err.txt" &
  app_pid=$!
  wid=$(wait_window "$name")
}

# click WID X Y: a left click at X,Y of the window, apart from the next one so that
# two clicks are not one double click.
click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.6
}

# expect_presented WID: a screenshot of the window equals the surface the program
# presented last, pixel for pixel, once the program has caught up.
expect_presented() {
  eventually shows_presented "$1" ||
    fail "screenshot differs from the presented surface ($(cat "$work/ae.txt" 2>/dev/null) pixels)"
}

# shows_presented WID: a screenshot of the window equals the surface presented last.
shows_presented() {
  [ -s "$QELL_WINDOW_SNAPSHOT" ] && /usr/bin/import -window "$1" "$work/shot.png" 2>/dev/null &&
    /usr/bin/compare -metric AE "$work/shot.png" "$QELL_WINDOW_SNAPSHOT" null: 2>"$work/ae.txt"
}

# wait_exit: waits for $app_pid to end and sets rc to its exit code.
wait_exit() {
  rc=0
  timeout "$patience" tail --pid="$app_pid" -f /dev/null || fail "the program did not end"
  wait "$app_pid" || rc=$?
  app_pid=""
}
