# Shared by the real-window test scripts (sourced): a private Xvfb display taken from a range
# of display numbers that only the sourcing test uses, a scratch directory, waiting with a
# time limit, failing with a message, and cleaning up whatever was started.
#
# The sourcing script sets `display_range` ("FIRST LAST") first; it may then start the game
# with start_game and must end with `exit`.
set -u
readonly kSkip=77

for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed"
    exit $kSkip
  fi
done

work=$(mktemp -d /tmp/rv7x11.XXXXXX)
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
  [ -s "$work/nrv7.log" ] && sed 's/^/  nrv7: /' "$work/nrv7.log" | tail -n 20
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

# Whether our Xvfb holds display $1: its lock file names our server (another test may start
# a server on the same number at the same moment; only one of them gets the lock).
owns_display() {
  [ "$(tr -d ' \n' <"/tmp/.X$1-lock" 2>/dev/null)" = "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null
}
display_settled() {
  owns_display "$1" || ! kill -0 "$xvfb_pid" 2>/dev/null
}

# Serves the first free display of the range with Xvfb (1280 x 1024, no backing store, so a
# window that does not repaint shows what covered it) and exports DISPLAY, with the X11
# platform for every Qt program the test starts (the test runner may have chosen offscreen).
start_xvfb() {
  local n first last
  read -r first last <<<"$display_range"
  for n in $(seq "$first" "$last"); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset -bs >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    wait_for 50 display_settled "$n"
    if owns_display "$n" && wait_for 50 test -S "/tmp/.X11-unix/X$n"; then
      export DISPLAY=":$n" QT_QPA_PLATFORM=xcb
      wait_for 50 xdotool getdisplaygeometry && return 0
    fi
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  done
  return 1
}

# Starts the game ($1) in the current directory on the X display.
start_game() {
  "$1" >"$work/nrv7.log" 2>&1 &
  game_pid=$!
}

# The first visible window whose name matches the pattern $1 (empty when there is none).
visible_window() {
  xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

# Whether a visible window's name matches the pattern $1.
has_window() {
  [ -n "$(visible_window "$1")" ]
}

# "X Y W H" of a window.
window_box() {
  xdotool getwindowgeometry --shell "$1" |
    awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print x, y, w, h}'
}

window_height() {
  window_box "$1" | cut -d' ' -f4
}

# Clicks the point ($2, $3) inside window $1.
click_in() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

# Waits up to $1 seconds for the game to end and checks that it ended with 0.
expect_game_end() {
  local seconds=$1 rc
  ( sleep "$seconds" && kill "$game_pid" ) >/dev/null 2>&1 &
  local watchdog=$!
  wait "$game_pid"
  rc=$?
  game_pid=""
  kill "$watchdog" 2>/dev/null
  [ "$rc" -eq 0 ] || fail "the game ended with $rc"
}

# Copies the data directory $2 to $work/$3, starts the game ($1) there and waits for its
# window, focused; sets `window` and leaves the copy the current directory.
start_game_in_copy() {
  mkdir -p "$work/$3" && cp -r "$2/." "$work/$3/" || fail "the data directory could not be copied"
  cd "$work/$3" || fail "no data directory"
  start_game "$1"
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Korvala v1\.1\.6$' | head -n 1)
  [ -n "$window" ] || fail "the window did not appear"
  xdotool windowfocus --sync "$window" || fail "the window took no focus"
}

# Sends the close request to `window` with the helper $1; the game must end with 0 within
# ten seconds.
close_game() {
  "$1" "$window" || fail "the close request could not be sent"
  expect_game_end 10
}

# Skips the test unless every named tool is installed.
require_tools() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "SKIP: $tool is not installed"
      exit $kSkip
    fi
  done
}

height_differs() {
  [ "$(window_height "$1")" != "$2" ]
}
