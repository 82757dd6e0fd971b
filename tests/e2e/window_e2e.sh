#!/usr/bin/env bash
# End-to-end: the real executable's window on an X screen of a given size,
# on an Xvfb server of the test's own (started and stopped here).
#   window_e2e.sh VIREXO WM_DELETE_WINDOW SHOT_DIR WIDTHxHEIGHT [full]
# - Windowed (the question answered with Escape), the window lies wholly on
#   the screen, keeps the picture's 4:3 shape and shows the whole picture
#   (its four edges lit, nothing of it cut off).
# - A real WM_DELETE_WINDOW close request ends the game with 0 within a
#   second.
# full: also
# - a resize letter-boxes the picture (black bars, the picture's edges lit);
# - F11 covers the screen and back;
# - SIGTERM ends the game with 143, also while the question is shown.
set -uo pipefail
game=$1 closer=$2 shots=$3 size=$4 more=${5:-}
screenW=${size%x*} screenH=${size#*x}
mkdir -p "$shots"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v xwininfo >/dev/null &&
  command -v /usr/bin/convert >/dev/null || { echo "Xvfb, xdotool, xwininfo or convert missing: skipped"; exit 77; }

xvfb=""
pid=""
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
}
trap cleanup EXIT
fail() { echo "FAIL ($size): $*"; exit 1; }

. "$(dirname "$0")/game_driver.sh"
# Our own server on a free display number.
start_xvfb "$size" "$shots/xvfb.txt"
# Starts the game; waits for the question box; answers it with $1.
start() {
  start_game "$game" "$shots/stderr.txt"
  [ -z "${1:-}" ] && return
  answer_question "$1"
  # The game's window: the mapped top-level window named Virexo.
  wait_for_game_window '' || fail "no game window"
}

# Waits up to $1 seconds for the game to end; its exit status in $rc.
finish() {
  local t0=$SECONDS
  for _ in $(seq $(($1 * 50))); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.02
  done
  kill -0 "$pid" 2>/dev/null && fail "still running $(( SECONDS - t0 )) s after $2"
  wait "$pid"; rc=$?
  pid=""
}

# --- windowed: on screen, whole picture, closed by the window manager's request
start Escape
sleep 3
geometry
echo "window ${ww}x${wh} at ${wx},${wy} on a ${size} screen"
[ "$wx" -ge 0 ] && [ "$wy" -ge 0 ] && [ $((wx + ww)) -le "$screenW" ] && [ $((wy + wh)) -le "$screenH" ] ||
  fail "the window ${ww}x${wh}+${wx}+${wy} leaves the screen"
[ $((ww * 3)) -eq $((wh * 4)) ] || fail "the window ${ww}x${wh} is not 4:3"
shot="$shots/window-${size}.png"
import -window root "$shot" 2>/dev/null || fail "no screenshot"
check_letterbox "$shot" "$ww" "$wh" "$wx" "$wy"

if [ "$more" = full ]; then
  # A resize to another shape: the picture letter-boxed in the middle.
  xdotool windowsize "$win" $((screenW * 9 / 10)) $((screenH / 2))
  sleep 2
  geometry
  echo "resized to ${ww}x${wh}"
  fitted_box
  shot="$shots/resized-wide-${size}.png"
  import -window root "$shot" 2>/dev/null
  check_letterbox "$shot" "$bw" "$bh" "$bx" "$by"
  shot="$shots/resized-tall-${size}.png"
  xdotool windowsize "$win" $((screenW / 3)) $((screenH * 9 / 10))
  sleep 2
  geometry
  echo "resized to ${ww}x${wh}"
  fitted_box
  import -window root "$shot" 2>/dev/null
  check_letterbox "$shot" "$bw" "$bh" "$bx" "$by"

  # F11: the whole screen, the picture letter-boxed; F11 again: a window.
  xdotool windowfocus --sync "$win" 2>/dev/null; xdotool key F11
  sleep 2
  geometry
  [ "$ww" -eq "$screenW" ] && [ "$wh" -eq "$screenH" ] || fail "F11 gave ${ww}x${wh}+${wx}+${wy}"
  fitted_box
  import -window root "$shots/full-${size}.png" 2>/dev/null
  check_letterbox "$shots/full-${size}.png" "$bw" "$bh" "$bx" "$by"
  xdotool windowfocus --sync "$win" 2>/dev/null; xdotool key F11
  sleep 2
  geometry
  [ "$ww" -lt "$screenW" ] || [ "$wh" -lt "$screenH" ] || fail "F11 again stayed full screen"
  echo "F11 twice: back to ${ww}x${wh}"
fi

sent=$(date +%s%N)
"$closer" "$win" || fail "the close request could not be sent"
finish 1 "WM_DELETE_WINDOW"
ms=$(( ($(date +%s%N) - sent) / 1000000 ))
[ "$rc" -eq 0 ] || fail "exit code $rc after the close request: $(cat "$shots/stderr.txt")"
echo "WM_DELETE_WINDOW: exit code 0 after ${ms} ms"

if [ "$more" = full ]; then
  start Escape
  sleep 2
  kill -TERM "$pid"
  finish 1 "SIGTERM"
  [ "$rc" -eq 143 ] || fail "exit code $rc after SIGTERM (want 143)"
  echo "SIGTERM while playing: exit code 143"

  start ""  # the question stays on the screen
  kill -TERM "$pid"
  finish 1 "SIGTERM during the question"
  [ "$rc" -eq 143 ] || fail "exit code $rc after SIGTERM during the question (want 143)"
  # The box (shown by a process of its own) goes with the game.
  for _ in $(seq 50); do xwininfo -name Virexo >/dev/null 2>&1 || break; sleep 0.02; done
  xwininfo -name Virexo >/dev/null 2>&1 && fail "the question box stayed after SIGTERM"
  echo "SIGTERM during the question: exit code 143, the box gone"
fi
echo "PASS ($size)"
