#!/usr/bin/env bash
# End-to-end: full screen and back, five round trips, on an Xvfb server of
# 1280 x 1024 of the test's own, under openbox or under a bare X server.
#   fullscreen_wm_e2e.sh VIREXO SHOT_DIR openbox|bare
# Each round trip (F11, Alt+Return, F11, ...): full screen covers the screen
# with the picture letter-boxed in the middle (its edges lit, the bars
# black); back in a window, the window has its old place and size and shows
# the whole picture. Then the question's OK: full screen from the start,
# the picture in place, and F11 gives a window on the screen.
set -uo pipefail
game=$1 shots=$2 wm=$3
screenW=1280 screenH=1024
mkdir -p "$shots"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v xwininfo >/dev/null &&
  command -v /usr/bin/convert >/dev/null || { echo "Xvfb, xdotool, xwininfo or convert missing: skipped"; exit 77; }
[ "$wm" = bare ] || command -v openbox >/dev/null || { echo "openbox missing: skipped"; exit 77; }

xvfb="" wmpid="" pid=""
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  [ -n "$wmpid" ] && kill "$wmpid" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
}
trap cleanup EXIT
fail() { echo "FAIL ($wm): $*"; exit 1; }

fifo=$(mktemp -u) && mkfifo "$fifo"
Xvfb -displayfd 4 -screen 0 "${screenW}x${screenH}x24" -r -nolisten tcp -noreset 4>"$fifo" 2>"$shots/xvfb.txt" &
xvfb=$!
read -r -t 20 num <"$fifo" || fail "Xvfb did not start: $(cat "$shots/xvfb.txt")"
rm -f "$fifo"
export DISPLAY=":$num"
unset SDL_VIDEODRIVER
if [ "$wm" != bare ]; then
  openbox --sm-disable >"$shots/openbox.txt" 2>&1 &
  wmpid=$!
  sleep 1
fi

. "$(dirname "$0")/game_driver.sh"

# The screen's 4:3 box: the picture letter-boxed full screen.
full_box() { bw=$screenW; bh=$((screenW * 3 / 4)); bx=0; by=$(((screenH - bh) / 2)); }

toggle() {  # F11 or Alt+Return into the game's window
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key "$1"
  sleep 1.5
}

check_full() {  # $1: screenshot name
  geometry
  echo "  full screen: ${ww}x${wh}+${wx}+${wy}"
  [ "$wx" -eq 0 ] && [ "$wy" -eq 0 ] && [ "$ww" -eq "$screenW" ] && [ "$wh" -eq "$screenH" ] ||
    fail "full screen is ${ww}x${wh}+${wx}+${wy}, not the whole ${screenW}x${screenH} screen"
  import -window root "$shots/$1" 2>/dev/null || fail "no screenshot"
  full_box
  check_letterbox "$shots/$1" "$bw" "$bh" "$bx" "$by"
}

"$game" 2>"$shots/stderr.txt" &
pid=$!
wait_for_question || fail "no question box"
answer_question Escape
wait_for_game_window '' || fail "no game window"
sleep 2
geometry
ox=$wx oy=$wy ow=$ww oh=$wh
echo "window ${ww}x${wh}+${wx}+${wy}"
for trip in 1 2 3 4 5; do
  key=F11
  [ $((trip % 2)) -eq 0 ] && key=alt+Return
  toggle "$key"
  check_full "full-$wm-$trip.png"
  toggle "$key"
  geometry
  echo "  trip $trip ($key): back to ${ww}x${wh}+${wx}+${wy}"
  [ "$wx" -eq "$ox" ] && [ "$wy" -eq "$oy" ] && [ "$ww" -eq "$ow" ] && [ "$wh" -eq "$oh" ] ||
    fail "after round trip $trip the window is ${ww}x${wh}+${wx}+${wy}, was ${ow}x${oh}+${ox}+${oy}"
  import -window root "$shots/window-$wm-$trip.png" 2>/dev/null || fail "no screenshot"
  check_letterbox "$shots/window-$wm-$trip.png" "$ww" "$wh" "$wx" "$wy"
done
kill -TERM "$pid"; wait "$pid" 2>/dev/null; pid=""

# The question's OK: full screen from the start (the screen cannot change
# its mode, so the picture is scaled over the desktop).
"$game" 2>"$shots/stderr-ok.txt" &
pid=$!
wait_for_question || fail "no question box"
answer_question Return
wait_for_game_window '' || fail "no game window after OK"
sleep 2
check_full "full-$wm-ok.png"
toggle F11
geometry
echo "  OK then F11: ${ww}x${wh}+${wx}+${wy}"
[ "$wx" -ge 0 ] && [ "$wy" -ge 0 ] && [ $((wx + ww)) -le "$screenW" ] && [ $((wy + wh)) -le "$screenH" ] &&
  [ "$ww" -lt "$screenW" ] || fail "F11 after OK gave ${ww}x${wh}+${wx}+${wy}"
import -window root "$shots/window-$wm-ok.png" 2>/dev/null
check_letterbox "$shots/window-$wm-ok.png" "$ww" "$wh" "$wx" "$wy"
kill -TERM "$pid"; wait "$pid" 2>/dev/null; pid=""
echo "PASS ($wm)"
