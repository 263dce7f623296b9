#!/usr/bin/env bash
# A first start in a real X window (Xvfb): with the placeholder player name in Game.Ini the
# Setup dialog comes up centred on the screen before the main window; the player types a
# name and picks another level set with the mouse, and the game starts in that set and
# writes both to Game.Ini when closed. Exits 77 (skipped) when Xvfb or xdotool is missing.
#
# usage: first_start_test.sh <nrv7> <close-request helper> <data dir>
nrv7=$1 close_request=$2 data=$3
display_range="300 339"
. "$(dirname "$0")/x11_session.sh"

start_xvfb || fail "no X display could be started"
mkdir -p "$work/data" && cp -r "$data/." "$work/data/" || fail "the data directory could not be copied"
cd "$work/data" || fail "no data directory"
printf '\n# comment:\n# current game setup.\n# do not modify.\n\n[Game]\nMaze   = Walk\nPlayer = Player\nWalk   = 1\n\n' >Ini/Game.Ini
printf '[Mazes]\nWalk = 2\nOther = 1\n' >Ini/Mazes.Ini
mkdir -p Mazes/Other && printf '#######\n#@ $ .#\n#######\n' >Mazes/Other/Other.1

start_game "$nrv7"
wait_for 200 has_window '^Setup Korvala v1\.1\.6$'
setup=$(visible_window '^Setup Korvala v1\.1\.6$')
[ -n "$setup" ] || fail "the Setup dialog did not appear"
[ -z "$(visible_window '^Korvala v1\.1\.6$')" ] || fail "the main window came before Setup"
read -r x y w h <<<"$(window_box "$setup")"
[ "$w $h" = "330 216" ] || fail "Setup is $w x $h, not 330 x 216"
[ "$x $y" = "$(((1280 - w) / 2)) $(((1024 - h) / 2))" ] || fail "Setup at $x,$y is not centred"

xdotool windowfocus --sync "$setup" || fail "Setup took no focus"
# The name field has the focus: replace the placeholder by typing.
xdotool key --delay 30 ctrl+a BackSpace
xdotool type --delay 30 "Anna"
# The set list (at 120,49 in the dialog): open it and pick "Other (1-1)", the first entry.
click_in "$setup" 160 58
sleep 0.5
xdotool key --delay 50 Home Return
sleep 0.2
click_in "$setup" 150 198  # "Ok"

wait_for 100 has_window '^Korvala v1\.1\.6$'
window=$(visible_window '^Korvala v1\.1\.6$')
[ -n "$window" ] || fail "the main window did not appear after Setup"
[ -z "$(visible_window '^Setup Korvala v1\.1\.6$')" ] || fail "Setup is still open"

"$close_request" "$window" || fail "the close request could not be sent"
expect_game_end 10
for line in "Maze   = Other" "Player = Anna" "Other  = 1"; do
  grep -qxF "$line" Ini/Game.Ini || fail "Game.Ini lacks \"$line\":$(cat Ini/Game.Ini)"
done
echo "PASS: Setup came first and the game started in the chosen set"
exit 0
