#!/usr/bin/env bash
# The letter and digit keys on other keyboard layouts, in a real X window (Xvfb): with a
# Russian and with a French layout active, the keys in the places of N, B, M, I and of the
# main-row digits do what they do on a US layout. Each key is typed by the symbol it bears
# on that layout, so the game sees exactly what a player's keyboard sends. Exits 77 (skipped)
# when Xvfb, xdotool or setxkbmap is missing.
#
# usage: keyboard_layouts_test.sh <nrv7> <close-request helper> <data dir>
nrv7=$1 close_request=$2 data=$3
display_range="420 459"
. "$(dirname "$0")/x11_session.sh"

require_tools setxkbmap
start_xvfb || fail "no X display could be started"

# Level loads the trace log shows so far, as "1 2 1 2" for levels 1, 2, 1, 2.
levels_loaded() {
  sed -n 's/.*:GetMaze: open file=Mazes\\Walk\\Walk\.\([0-9]*\)$/\1/p' RV7LOG.0* | tr '\n' ' '
}
levels_are() {
  [ "$(levels_loaded)" = "$1" ]
}

# Plays one layout: $1 the layout, $2 to $5 the symbols of the N, B, M and I keys, the rest
# the symbols of the main-row keys 1, 2, 3, 4 and 0.
play_layout() {
  local layout=$1 next=$2 previous=$3 last=$4 smaller=$5
  shift 5
  setxkbmap -layout "$layout" || fail "$layout: setxkbmap failed"
  RV7LOG=all start_game_in_copy "$nrv7" "$data" "$layout"
  wait_for 100 levels_are "1 " || fail "$layout: level 1 was not loaded"
  xdotool key "$next"
  wait_for 100 levels_are "1 2 " || fail "$layout: $next did not go to the next level ($(levels_loaded))"
  xdotool key "$previous"
  wait_for 100 levels_are "1 2 1 " || fail "$layout: $previous did not go back ($(levels_loaded))"
  xdotool key "$last"
  wait_for 100 levels_are "1 2 1 2 " || fail "$layout: $last did not go to the last level ($(levels_loaded))"
  local height
  height=$(window_height "$window")
  xdotool key "$smaller"
  wait_for 100 height_differs "$window" "$height" || fail "$layout: $smaller did not make the tiles smaller"
  local digit
  for digit in "$@"; do
    xdotool key "$digit"
  done
  close_game "$close_request"
  ! grep -q ':Beep: beep' RV7LOG.0* || fail "$layout: a key was refused: $(grep ':Beep: ' RV7LOG.0* | head -n 3)"
  grep -q '^Walk *= 2$' Ini/Game.Ini || fail "$layout: level 2 was not remembered"
  echo "PASS: $layout"
}

play_layout ru Cyrillic_te Cyrillic_i Cyrillic_softsign Cyrillic_sha 1 2 3 4 0
play_layout fr n b m i ampersand eacute quotedbl apostrophe agrave
exit 0
