#!/usr/bin/env bash
# Start-up of the game: milliseconds from starting nrv7 to its first paint, measured RUNS
# times (default 10) under a private Xvfb display at 1920 x 1200, where the largest tiles
# (47 pixels) are used. Each run starts in a fresh copy of the bundled data directory and
# reads the moment of the first paint from the trace log (RV7LOG=func), whose time stamps
# carry milliseconds. Prints every run and the median.
#
# usage: first_paint.sh <nrv7> <data dir> [RUNS]
set -euo pipefail
nrv7=$(realpath "$1") data=$(realpath "$2") runs=${3:-10}

work=$(mktemp -d /tmp/rv7paint.XXXXXX)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

for n in $(seq 120 219); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 1920x1200x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do
    [ -S "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  [ -S "/tmp/.X11-unix/X$n" ] && export DISPLAY=":$n" && break
  kill "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
done
[ -n "$xvfb_pid" ] || { echo "no X display could be started" >&2; exit 1; }

# Milliseconds since midnight of a local "HH:MM:SS.mmm" time.
to_ms() {
  IFS=':.' read -r h m s ms <<<"$1"
  echo $(((10#$h * 3600 + 10#$m * 60 + 10#$s) * 1000 + 10#$ms))
}

times=()
for run in $(seq "$runs"); do
  dir="$work/run$run"
  cp -r "$data" "$dir"
  # A named player, so that start-up opens no setup dialog.
  sed -i 's/^Player *=.*/Player  = Bench/' "$dir/Ini/Game.Ini"
  cd "$dir"
  start=$(to_ms "$(date +%H:%M:%S.%3N)")
  QT_QPA_PLATFORM=xcb RV7LOG=func "$nrv7" >/dev/null 2>&1 &
  pid=$!
  paint=""
  for _ in $(seq 1000); do
    paint=$(grep -h -m1 'DoPaint' RV7LOG.0* 2>/dev/null | cut -d' ' -f1 || true)
    [ -n "$paint" ] && break
    sleep 0.01
  done
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null || true
  [ -n "$paint" ] || { echo "run $run: no paint seen" >&2; exit 1; }
  elapsed=$(($(to_ms "$paint") - start))
  echo "run $run: $elapsed ms"
  times+=("$elapsed")
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{v[NR]=$1} END{print (NR%2) ? v[(NR+1)/2] : int((v[NR/2]+v[NR/2+1])/2)}')
echo "median start to first paint: $median ms over $runs runs"
