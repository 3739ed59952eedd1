#!/usr/bin/env bash
# Message boxes opened and closed in a row while another client reads their windows (a
# screenshot tool and xwininfo, as a person's tools do): a protocol error about a window
# that is already gone must not end the program. Without a window manager each new box
# takes the input focus, so Enter pressed over and over closes them one by one.
# usage: window_stress_e2e.sh path/to/toolkit_sample      (exit 77: X tools missing)
set -euo pipefail
sample=${1:?usage: window_stress_e2e.sh TOOLKIT_SAMPLE}
boxes=200

source "$(dirname "$0")/../support/xvfb.sh"

"$sample" --window --boxes "$boxes" >"$work/out.txt" 2>"$work/err.txt" &
app_pid=$!
wait_window "Box 1" >/dev/null

# The reader: every window called "Box …", described and captured while it may be
# closing under it. Its own failures (a window gone mid-read) are expected and ignored.
(
  while kill -0 "$app_pid" 2>/dev/null; do
    for id in $(xdotool search --name '^Box ' 2>/dev/null); do
      xwininfo -id "$id" >/dev/null 2>&1 || true
      # import grabs the server and then waits for ever on a window gone mid-read.
      timeout 0.3 /usr/bin/import -window "$id" "$work/read.png" >/dev/null 2>&1 || true
    done
  done
) &
reader_pid=$!

# Enter, over and over, until the program has closed its boxes; a key pressed between
# two boxes is lost, hence more keys than boxes. Stuck means $patience s without a box
# closed.
closed() { grep -c '^closed ' "$work/out.txt" || true; }
last=0
last_change=$SECONDS
while kill -0 "$app_pid" 2>/dev/null; do
  xdotool key --delay 30 --repeat 20 Return 2>/dev/null || true
  now=$(closed)
  if [ "$now" -ne "$last" ]; then
    last=$now
    last_change=$SECONDS
  elif [ $((SECONDS - last_change)) -ge "$patience" ]; then
    fail "stuck after $now boxes closed"
  fi
done
kill "$reader_pid" 2>/dev/null || true
wait_exit
grep -qi "X error" "$work/err.txt" && echo "(reported and survived: $(grep -c . "$work/err.txt") lines on standard error)"
[ "$rc" -eq 1 ] || fail "exit code $rc after $(closed) boxes closed, expected 1 (every box closed)"
grep -qx "boxes: $boxes" "$work/out.txt" || fail "not every box was closed: $(tail -n 1 "$work/out.txt")"
echo "window stress: ok ($boxes message boxes closed while read)"
