#!/usr/bin/env bash
# The game in a real X window: starts a private Xvfb display, runs nrv7 in a copy of a test
# data directory, plays level 1 with the arrow keys (one step taken back with Delete), goes
# on to level 2, closes the window through its close request, and compares the score file and
# the settings it wrote, byte for byte. Exits 77 (skipped) when Xvfb or xdotool is missing.
#
# usage: real_window_test.sh <nrv7> <close-request helper> <data dir> <expected dir>
set -u
nrv7=$1 close_request=$2 data=$3 expected=$4
readonly kSkip=77

for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed"
    exit $kSkip
  fi
done

work=$(mktemp -d /tmp/rv7e2e.XXXXXX)
xvfb_pid="" game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  exit 1
}

# Waits up to $1 tenths of a second for the command in the rest of the arguments to succeed.
wait_for() {
  local tries=$1
  shift
  while ! "$@" >/dev/null 2>&1; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.1
  done
}

# A display number nobody uses, with Xvfb serving it.
start_xvfb() {
  local n
  for n in $(seq 90 189); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    if wait_for 50 test -S "/tmp/.X11-unix/X$n" && kill -0 "$xvfb_pid" 2>/dev/null; then
      export DISPLAY=":$n"
      wait_for 50 xdotool getdisplaygeometry && return 0
    fi
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  done
  return 1
}

window_height() {
  xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p'
}

height_differs() {
  [ "$(window_height "$1")" != "$2" ]
}

start_xvfb || fail "no X display could be started"
mkdir -p "$work/data" && cp -r "$data/." "$work/data/" || fail "the data directory could not be copied"
cd "$work/data" || fail "no data directory"
export QT_QPA_PLATFORM=xcb
"$nrv7" >"$work/nrv7.log" 2>&1 &
game_pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Korvala v1\.1\.6$' | head -n 1)
[ -n "$window" ] || fail "the window did not appear"
xdotool windowfocus --sync "$window" || fail "the window took no focus"

first_height=$(window_height "$window")
# A step right taken back, then the solution: push down, back up, right, push right.
for key in Right Delete Down Up Right Right; do
  xdotool key --delay 50 "$key"
done
wait_for 100 test -s "Mazes/Walk/Walk.1.rv7" || fail "no score file was written"
# The solved level may be left at once; level 2 is one row higher.
xdotool key N
wait_for 100 height_differs "$window" "$first_height" || fail "level 2 was not loaded"

"$close_request" "$window" || fail "the close request could not be sent"
# A game that does not end within ten seconds is stopped and fails the test.
( sleep 10 && kill "$game_pid" ) >/dev/null 2>&1 &
watchdog=$!
wait "$game_pid"
rc=$?
game_pid=""
kill "$watchdog" 2>/dev/null
[ "$rc" -eq 0 ] || fail "the game ended with $rc after the close request"

status=0
for pair in "Mazes/Walk/Walk.1.rv7:Walk.1.rv7" "Ini/Game.Ini:Game.Ini" "Ini/Config.Ini:Config.Ini"; do
  written=${pair%%:*} wanted=${pair##*:}
  if ! cmp "$written" "$expected/$wanted"; then
    echo "FAIL: $written differs from $wanted:"
    diff <(od -c "$expected/$wanted") <(od -c "$written")
    status=1
  fi
done
cmp "Ini/Mazes.Ini" "$data/Ini/Mazes.Ini" || { echo "FAIL: Mazes.Ini was rewritten"; status=1; }
[ -e "Mazes/Walk/Walk.2.rv7" ] && { echo "FAIL: level 2 got a score file"; status=1; }
[ "$status" -eq 0 ] && echo "PASS: level solved, settings and score file written as expected"
exit "$status"
