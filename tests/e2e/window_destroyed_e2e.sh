#!/usr/bin/env bash
# End-to-end: the game's window destroyed from outside (xdotool windowclose,
# what a crashed compositor or some window managers do), in a window and in
# full screen, on the test's X display and, when openbox is installed, on
# an Xvfb server of its own under openbox, ends the game as its close
# button does: exit status 0 within three seconds and no X error
# ("BadDrawable") on standard error.
#   window_destroyed_e2e.sh VIREXO SHOT_DIR
set -uo pipefail
game=$1 shots=$2
mkdir -p "$shots"
[ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null && command -v xwininfo >/dev/null ||
  { echo "no X display, xdotool or xwininfo: skipped"; exit 77; }
unset SDL_VIDEODRIVER
pid="" xvfb="" wm=""
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
}
trap cleanup EXIT
fail() { echo "FAIL ($where, $answer): $*"; cat "$shots/stderr-$where-$answer.txt" 2>/dev/null; exit 1; }
. "$(dirname "$0")/game_driver.sh"

destroy_each_way() {
  for answer in Escape Return; do
    start_game "$game" "$shots/stderr-$where-$answer.txt"
    answer_question "$answer"
    wait_for_game_window '' || fail "no game window"
    sleep 0.5  # a few frames drawn
    xdotool windowclose "$win" || fail "xdotool windowclose failed"
    for _ in $(seq 150); do kill -0 "$pid" 2>/dev/null || break; sleep 0.02; done
    kill -0 "$pid" 2>/dev/null && fail "still running 3 s after its window was destroyed"
    wait "$pid"; rc=$?
    pid=""
    [ "$rc" -eq 0 ] || fail "exit status $rc (want 0)"
    grep -q "X Error" "$shots/stderr-$where-$answer.txt" && fail "an X error"
    echo "window destroyed ($where, $answer to the question): exit status 0, no X error"
  done
}

where=bare
destroy_each_way

# Under a window manager the window is reparented, and SDL's own closing
# waits for the server to unmap it: the case that once hung.
command -v openbox >/dev/null && command -v Xvfb >/dev/null || { echo "no openbox: bare X only"; exit 0; }
where=openbox answer=-
fifo=$(mktemp -u) && mkfifo "$fifo"
Xvfb -displayfd 4 -screen 0 1024x768x24 -r -nolisten tcp -noreset 4>"$fifo" 2>"$shots/xvfb.txt" &
xvfb=$!
read -r -t 20 num <"$fifo" || fail "Xvfb did not start: $(cat "$shots/xvfb.txt")"
rm -f "$fifo"
export DISPLAY=":$num"
openbox >"$shots/openbox.txt" 2>&1 &
wm=$!
sleep 1
destroy_each_way
exit 0
