# What the shell tests of qell-designer share. Sourced with $designer set: makes $work
# (gone on exit) and counts the checks that pass and fail; `finish`, the test's last
# command, prints the count and gives the verdict.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

pass() { passed=$((passed + 1)); }
fail() { echo "FAIL $*"; failed=$((failed + 1)); }

# run EXPECTED_EXIT ARGS...: runs the designer, output in $work/out and $work/err.
run() {
  local want=$1 rc=0
  shift
  "$designer" "$@" >"$work/out" 2>"$work/err" || rc=$?
  if [ "$rc" -ne "$want" ]; then
    fail "$*: exit $rc, want $want"
    sed 's/^/  stderr: /' "$work/err" | head -3
    return 1
  fi
  pass
}

finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
