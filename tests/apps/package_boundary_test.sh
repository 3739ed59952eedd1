#!/usr/bin/env bash
# usage: package_boundary_test.sh QELL_DESIGNER HOSTILE_FIXTURE
# Hostile packages against the designer, each a copy of the test package in one mode
# (tests/package/HostileFixture.cpp). Whatever a package does in its start-up code, its
# Initialize, Register or Finalize, on its first load or its second, in its trial or in
# the designer itself, the designer keeps running, says why in one line and exits 2
# where the command failed; nothing a package starts outlives the command; a file
# swapped while it loads never runs code that was not tried; and a list of design
# packages with failing entries is reported line by line while the designer starts.
set -uo pipefail
designer=$1
fixture=$2
. "$(dirname "$0")/../support/cli_checks.sh"
. "$(dirname "$0")/hostile_packages.sh"
export XDG_CONFIG_HOME=$work/config
export QELL_FIXTURE_LOG=$work/forks
list=$XDG_CONFIG_HOME/qell-designer/packages
printf 'close\n' >"$work/close.txt"

# one_line NAME TEXT...: the last run's standard error is one line holding every TEXT.
one_line() {
  local name=$1 t
  shift
  [ "$(wc -l <"$work/err")" -eq 1 ] || { fail "$name: standard error is not one line: $(head -c 600 "$work/err")"; return; }
  for t in "$@"; do
    grep -qF -- "$t" "$work/err" && pass || fail "$name: standard error lacks '$t': $(cat "$work/err")"
  done
}

# exits WANT NAME COMMAND...: runs the designer (a hang is ended and fails), output in
# $work/out and $work/err.
exits() {
  local want=$1 name=$2 rc=0
  shift 2
  timeout 120 "$designer" "$@" >"$work/out" 2>"$work/err" || rc=$?
  [ "$rc" -eq "$want" ] && pass || fail "$name: exit $rc, want $want: $(head -c 600 "$work/err")"
}

# refused MODE TEXT...: `package check`, `design --package` and `packages add` each
# refuse the package in MODE with exit 2 and one line naming it and each TEXT.
refused() {
  local mode=$1 copy=$work/$1.bpl
  shift
  hostile "$fixture" "$mode" "$copy"
  exits 2 "$mode: package check" package check "$copy" && one_line "$mode: package check" "$copy" "$@"
  exits 2 "$mode: design" design --package "$copy" --script "$work/close.txt" &&
    one_line "$mode: design" "$copy" "$@"
  exits 2 "$mode: packages add" packages add "$copy" && one_line "$mode: packages add" "$copy" "$@"
  [ ! -e "$list" ] && pass || { fail "$mode: packages add wrote the list"; rm -f "$list"; }
}

# Refused by the trial, before the designer loads them.
refused start-crash "a trial load" "in its start-up code on its first load"
refused start-exit "a trial load ended with exit status 0 in its start-up code on its first load"
refused start-fork "it started a process of its own"
refused second-load-crash "a trial load" "in its start-up code on its second load"
refused init-crash "a trial load" "in its Initialize on its first load"
refused init-throw "its initialisation raised (anonymous namespace)::EFixtureError 'the fixture's init fails'" \
  "in a trial load"
refused init-42 "its initialisation raised an exception of type int"
refused register-crash "a trial load" "in its Register procedures on its first load"
refused register-throw "its IWQellRegDE.Register raised" "the fixture's register fails"
refused finalize-crash "a trial load" "in its Finalize on its first load"
refused finalize-throw "its finalisation raised" "the fixture's finalize fails"
QELL_PACKAGE_TRIAL_SECONDS=2 refused start-loop "did not end within 2 s" "in its start-up code on its first load"
QELL_PACKAGE_TRIAL_SECONDS=2 refused init-loop "did not end within 2 s" "in its Initialize on its first load"

# Passing their trial, failing in the designer itself: caught there all the same.
refused host-init-throw "its initialisation raised (anonymous namespace)::EFixtureError 'the fixture's init fails'"
refused host-init-42 "its initialisation raised an exception of type int"
refused host-register-throw "its IWQellRegDE.Register raised" "the fixture's register fails"
hostile "$fixture" host-finalize-throw "$work/late.bpl"
exits 0 "a failing finalisation at the end of a session" design --package "$work/late.bpl" --script "$work/close.txt" &&
  one_line "a failing finalisation" "late.bpl" "its finalisation raised" "the fixture's finalize fails"
exits 2 "a failing finalisation: package check" package check "$work/late.bpl" &&
  one_line "a failing finalisation: package check" "its finalisation raised"

# What a package started is ended with its trial (a copy of the designer ran on). Each
# line of the log is a process's number and start time; the number may have been given
# to a process of another program since, which then has another start time.
# alive PID START: whether that process still runs (not a zombie).
alive() {
  local stat rest
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  rest=${stat##*) }
  set -- "$1" "$2" $rest
  [ "$3" != Z ] && [ "${22}" = "$2" ]
}
gone=1
while read -r pid start; do
  for _ in $(seq 100); do
    alive "$pid" "$start" || break
    sleep 0.1
  done
  alive "$pid" "$start" && { gone=0; kill -9 "$pid"; }
done <"$work/forks"
[ -s "$work/forks" ] && pass || fail "the forking package noted no process"
[ "$gone" -eq 1 ] && pass || fail "a process a package started outlived the command"

# A file swapped under the designer while it loads: a sound copy and one that crashes
# in its start-up, the same size, renamed over one name without pause. Each run loads
# the sound one or refuses the other, and none dies.
hostile "$fixture" sound "$work/race-sound.bpl"
hostile "$fixture" start-crash "$work/race-crash.bpl"
(while :; do
  cp "$work/race-sound.bpl" "$work/race.1" && mv -f "$work/race.1" "$work/race.bpl"
  cp "$work/race-crash.bpl" "$work/race.2" && mv -f "$work/race.2" "$work/race.bpl"
done) &
swapper=$!
loaded=0 refused=0 other=0
for _ in $(seq 30); do
  rc=0
  timeout 120 "$designer" design --package "$work/race.bpl" --script "$work/close.txt" >/dev/null 2>"$work/err" || rc=$?
  case $rc in
    0) loaded=$((loaded + 1)) ;;
    2) [ "$(wc -l <"$work/err")" -eq 1 ] && refused=$((refused + 1)) || other=$((other + 1)) ;;
    *) other=$((other + 1)); echo "  race: exit $rc: $(head -c 300 "$work/err")" ;;
  esac
done
kill "$swapper"
wait "$swapper" 2>/dev/null
[ "$other" -eq 0 ] && pass || fail "a swapped file: $other of 30 runs neither loaded nor refused it in one line"
echo "  swapped file: $loaded loaded, $refused refused"

# The list of design packages with entries that fail: each is reported in one line and
# skipped, and the designer starts. A relative line is not looked up in whatever folder
# the designer starts in. A padded package of 256 MiB costs what it loads.
hostile "$fixture" sound "$work/sound.bpl"
hostile "$fixture" sound "$work/padded.bpl"
truncate -s 256M "$work/padded.bpl"
truncate -s 256M "$work/zeros.bpl"
mkdir -p "$(dirname "$list")"
printf '%s\n' "$work/sound.bpl" "$work/init-crash.bpl" "sound.bpl" "$work/zeros.bpl" "$work/padded.bpl" >"$list"
cd "$work" || exit 1
exits 0 "design with failing entries" design --script "$work/close.txt"
[ "$(wc -l <"$work/err")" -eq 3 ] && pass || fail "design: not one line per failing entry: $(cat "$work/err")"
grep -qF "package skipped: 'sound.bpl': " "$work/err" && grep -qF "not an absolute path" "$work/err" && pass ||
  fail "the relative line is not reported: $(cat "$work/err")"
if [ -x /usr/bin/time ]; then
  rc=0
  /usr/bin/time -f '%M %e' -o "$work/peak" "$designer" packages list >"$work/out" 2>"$work/err" || rc=$?
  [ "$rc" -eq 0 ] && pass || fail "packages list exits $rc"
  [ "$(grep -c $'\tloads$' "$work/out")" -eq 2 ] && [ "$(grep -c $'\tfails: ' "$work/out")" -eq 3 ] && pass ||
    fail "packages list: $(cat "$work/out")"
  read -r peak seconds <"$work/peak"
  echo "  packages list with two 256 MiB entries: peak $peak KiB, $seconds s"
  [ "$peak" -lt 100000 ] && pass || fail "packages list with 256 MiB entries peaks at $peak KiB"
fi
finish
