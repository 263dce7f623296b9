#!/usr/bin/env bash
# The Solver command in a real X window (Xvfb) on a board whose search takes many seconds:
# the Thinking dialog shows its text while the search runs, the main window repaints what
# was covered meanwhile, "Cancel" appears after a second and ends the search, and closing
# the main window during a second search ends the game at once. Exits 77 (skipped) when
# Xvfb or xdotool is missing.
#
# usage: thinking_window_test.sh <nrv7> <close-request helper> <window probe>
nrv7=$1 close_request=$2 probe=$3
display_range="340 379"
. "$(dirname "$0")/x11_session.sh"

readonly kThinking="... Solver is Thinking Very Hard ..."
readonly kStatusHeight=90  # the status area, which the dialog never covers

start_xvfb || fail "no X display could be started"
mkdir -p "$work/data/Ini" "$work/data/Mazes/Slow" && cd "$work/data" || fail "no data directory"
printf '[Game]\nMaze = Slow\nPlayer = Tester\nSlow = 1\n' >Ini/Game.Ini
printf '[Mazes]\nSlow = 1\n' >Ini/Mazes.Ini
cat >Mazes/Slow/Slow.1 <<'LEVEL'
###############
######   # $# #
#####     $#$$#
#####   *$ # .#
# #   .  ..# $#
### #.  # ## ##
# .   #.. #   #
# * ## $## $#.#
#    ..   $@ $#
##  ##   #$  ##
###############
LEVEL

# The other visible window of the game: the Thinking dialog.
thinking_window() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$game_pid" 2>/dev/null); do
    [ "$w" != "$window" ] && echo "$w" && return 0
  done
  return 1
}
has_thinking() { [ -n "$(thinking_window)" ]; }
no_thinking() { [ -z "$(thinking_window)" ]; }
taller_than() { [ "$(window_height "$1")" -gt "$2" ]; }
ms_now() { echo $(($(date +%s%N) / 1000000)); }
# Fails when the Thinking dialog has grown its Cancel button well before a second had passed
# since the click that opened it (the dialog appears after the click, and on a loaded
# machine it may be seen long after it appeared, so the click is the safe reference).
expect_no_early_cancel() {
  taller_than "$dialog" 36 && [ $(($(ms_now) - clicked_at)) -lt 800 ] &&
    fail "Cancel showed before a second had passed"
  return 0
}

# Starts a search with the Solver button and returns the Thinking dialog's window.
start_search() {
  click_in "$window" $((520 + inset + 25)) 33
  wait_for 50 has_thinking || fail "no Thinking dialog appeared"
  thinking_window
}

RV7LOG=info start_game "$nrv7"
wait_for 200 has_window '^Korvala v1\.1\.6$' || fail "the window did not appear"
window=$(visible_window '^Korvala v1\.1\.6$')
inset=$(sed -n 's/.*maze, inset=\([0-9]*\).*/\1/p' RV7LOG.0* | tail -n 1)
[ -n "$inset" ] || fail "no inset in the trace log"
read -r wx wy ww wh <<<"$(window_box "$window")"

clicked_at=$(ms_now)
dialog=$(start_search)
sleep 0.3
"$probe" text "$dialog" 8 10 315 13 "$kThinking" || fail "the Thinking text is not shown"
expect_no_early_cancel
"$probe" shot "$window" "$work/during.png" || fail "no screenshot"
"$probe" cover "$wx" "$wy" "$ww" "$wh" 300 || fail "the main window could not be covered"
sleep 0.3
"$probe" same "$window" "$work/during.png" 0 0 "$ww" "$kStatusHeight" ||
  fail "the main window did not repaint what was covered during the search"

while ! taller_than "$dialog" 36 && [ $(($(ms_now) - clicked_at)) -lt 3000 ]; do
  sleep 0.05
done
taller_than "$dialog" 36 || fail "no Cancel button after a second"
expect_no_early_cancel
click_in "$dialog" 165 44
wait_for 10 no_thinking || fail "Cancel did not end the search"
[ ! -e Mazes/Slow/Slow.1.rv7 ] || fail "a cancelled search wrote a score file"
kill -0 "$game_pid" || fail "the game ended after Cancel"

start_search >/dev/null
"$close_request" "$window" || fail "the close request could not be sent"
expect_game_end 5
grep -q '^\[Game\]' Ini/Game.Ini || fail "Game.Ini was not written at the end"
echo "PASS: the Thinking dialog showed and painted, Cancel and closing ended the search"
exit 0
