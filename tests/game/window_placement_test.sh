#!/usr/bin/env bash
# The first placement under a real window manager (openbox on Xvfb): the framed window stands
# centred on the screen as soon as it appears, and again after a level change that resizes
# it. Exits 77 (skipped) when Xvfb, xdotool, xprop, xwininfo or openbox is missing.
#
# usage: window_placement_test.sh <nrv7> <close-request helper> <data dir>
nrv7=$1 close_request=$2 data=$3
display_range="460 499"
. "$(dirname "$0")/x11_session.sh"

require_tools xprop xwininfo openbox
start_xvfb || fail "no X display could be started"
readonly kScreenWidth=1280 kScreenHeight=1024

# Ends with the display.
HOME=$work openbox >"$work/openbox.log" 2>&1 &
wait_for 100 sh -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" ||
  fail "the window manager did not start"

# Whether the frame around the client window $1 is centred (to the pixel, as integer halves
# fall): the client's place on the screen and the frame widths the window manager reports.
frame_centred() {
  local x y width height left right top bottom
  x=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left X: *//p')
  y=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left Y: *//p')
  width=$(xwininfo -id "$1" | sed -n 's/.*Width: *//p')
  height=$(xwininfo -id "$1" | sed -n 's/.*Height: *//p')
  read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS |
    sed -n 's/.*= *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/\1 \2 \3 \4/p')
  [ -n "$bottom" ] || { echo "no frame extents"; return 1; }
  local want_x=$(((kScreenWidth - width - left - right) / 2 + left))
  local want_y=$(((kScreenHeight - height - top - bottom) / 2 + top))
  echo "client at $x,$y size ${width}x$height frame $left,$right,$top,$bottom; centred: $want_x,$want_y"
  [ "$x" -eq "$want_x" ] && [ "$y" -eq "$want_y" ]
}

start_game_in_copy "$nrv7" "$data" data
placed=$(frame_centred "$window") || fail "not centred when it appeared: $placed"
echo "first placement: $placed"

first_height=$(window_height "$window")
xdotool key N
wait_for 100 height_differs "$window" "$first_height" || fail "level 2 was not loaded"
wait_for 50 frame_centred "$window" || fail "not centred after the level change: $(frame_centred "$window")"

close_game "$close_request"
echo "PASS: the window stands centred in its frame from the start"
exit 0
