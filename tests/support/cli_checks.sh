# What the shell tests of qell-designer share. Sourced with $designer set: makes $work
# (gone on exit) and counts the checks that pass and fail; `finish`, the test's last
# command, prints the count and gives the verdict. Every check names, on failing, what
# it found.
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

# expect NAME COMMAND...: COMMAND succeeds.
expect() {
  local name=$1
  shift
  if "$@"; then pass; else fail "$name"; fi
}

# out_is TEXT: the last run printed exactly TEXT (and a line break).
out_is() {
  [ "$(cat "$work/out")" = "$1" ] && pass || fail "output '$(head -3 "$work/out")', want '$1'"
}

# err_has TEXT: the last run's standard error holds TEXT, on any of its lines.
err_has() {
  grep -qF -- "$1" "$work/err" && pass || fail "standard error lacks '$1': $(head -3 "$work/err")"
}

# err_line TEXT...: the last run's standard error is one line, holding every TEXT.
err_line() {
  local t
  [ "$(wc -l <"$work/err")" -eq 1 ] || { fail "standard error is not one line: $(head -3 "$work/err")"; return; }
  for t in "$@"; do
    grep -qF -- "$t" "$work/err" && pass || fail "standard error lacks '$t': $(cat "$work/err")"
  done
}

# usage_err TEXT: the last run's standard error says TEXT on its first line, then
# shows the usage.
usage_err() {
  if head -1 "$work/err" | grep -qF -- "$1" && sed -n 2p "$work/err" | grep -q '^usage: '; then pass; else
    fail "standard error lacks '$1' and the usage: $(head -3 "$work/err")"
  fi
}

# keep: remembers $page as it is now. untouched: $page is byte for byte what keep saw,
# and the very same file, not rewritten (same inode and modification time).
keep() {
  cp "$page" "$work/before"
  stamp=$(stat -c '%i %Y.%y' "$page")
}
untouched() {
  cmp -s "$work/before" "$page" && [ "$(stat -c '%i %Y.%y' "$page")" = "$stamp" ] && pass ||
    fail "the page was rewritten"
}

# get PATH: the value at PATH of $page, as `get` prints it.
get() { "$designer" get "$page" "$1"; }

finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
