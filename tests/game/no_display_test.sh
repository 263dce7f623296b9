#!/usr/bin/env bash
# The game started where it cannot show its window (a stale DISPLAY, or none at all) ends at
# once with exit code 1 and one line on its error output, instead of the toolkit's abort,
# and leaves the data directory untouched.
#
# usage: no_display_test.sh <nrv7>
nrv7=$1
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

dead=99
while [ -e "/tmp/.X11-unix/X$dead" ] || [ -e "/tmp/.X$dead-lock" ]; do dead=$((dead + 1)); done

# run <expected line> <environment settings...>: the game in an empty directory.
run() {
  local expected=$1; shift
  local rc=0
  (cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" \
    timeout 20 "$nrv7" >/dev/null 2>"$work.err") || rc=$?
  [ "$rc" = 1 ] || fail "exit code $rc, not 1 ($*): $(cat "$work.err")"
  [ "$(cat "$work.err")" = "$expected" ] || fail "error output ($*): $(cat "$work.err")"
  [ -z "$(ls -A "$work")" ] || fail "the game wrote into its directory: $(ls -A "$work")"
}
trap 'rm -rf "$work" "$work.err"' EXIT

run "nrv7: cannot open display :$dead" DISPLAY=":$dead"
run "nrv7: cannot open display :$dead" DISPLAY=":$dead" QT_QPA_PLATFORM=xcb
run "nrv7: no display is set (DISPLAY or WAYLAND_DISPLAY)"
echo "PASS: the game ends with one line where no window can be shown"
