#!/usr/bin/env bash
# The game in a real X window: starts a private Xvfb display, runs nrv7 in a copy of a test
# data directory, plays level 1 with the arrow keys (one step taken back with Delete), goes
# on to level 2, closes the window through its close request, and compares the score file and
# the settings it wrote, byte for byte. Exits 77 (skipped) when Xvfb or xdotool is missing.
#
# usage: real_window_test.sh <nrv7> <close-request helper> <data dir> <expected dir>
nrv7=$1 close_request=$2 data=$3 expected=$4
display_range="90 189"
. "$(dirname "$0")/x11_session.sh"

start_xvfb || fail "no X display could be started"
start_game_in_copy "$nrv7" "$data" data

first_height=$(window_height "$window")
# A step right taken back, then the solution: push down, back up, right, push right.
for key in Right Delete Down Up Right Right; do
  xdotool key --delay 50 "$key"
done
wait_for 100 test -s "Mazes/Walk/Walk.1.rv7" || fail "no score file was written"
# The solved level may be left at once; level 2 is one row higher.
xdotool key N
wait_for 100 height_differs "$window" "$first_height" || fail "level 2 was not loaded"

# A game that does not end within ten seconds is stopped and fails the test.
close_game "$close_request"

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
