#!/usr/bin/env bash
# End-to-end: the game against the computer on the real executable under an
# X server, driven by xdotool: the title's F4, the strength (F3 hard), the
# difficulty (F1 Mild), a few seconds of play with the arrows while the
# computer plays the left board, the pause, back to the title and out
# (exit code 0). Screenshots of each step go to SHOT_DIR.
#   versus_e2e.sh VIREXO SHOT_DIR
set -uo pipefail
game=$1 shots=$2
mkdir -p "$shots"
[ -n "${DISPLAY:-}" ] || { echo "no X display: skipped"; exit 77; }

fail() { echo "FAIL: $*"; kill "$pid" 2>/dev/null; exit 1; }
"$game" 2>"$shots/stderr.txt" &
pid=$!

. "$(dirname "$0")/game_driver.sh"
wait_for_question || fail "no question box"
answer_question Escape
wait_for_game_window ' 1024x768\\+' || fail "no 1024x768 game window"

key() { game_keys "$@"; }
sleep 3
import -window root "$shots/title.png" 2>/dev/null
key F4; sleep 2
import -window root "$shots/strength.png" 2>/dev/null
key F3; sleep 2
import -window root "$shots/difficulty.png" 2>/dev/null
key F1
sleep "${E2E_READY_SECONDS:-8}"
key Left Down Right Up
sleep 2
import -window root "$shots/play.png" 2>/dev/null
key Escape; sleep 2
import -window root "$shots/pause.png" 2>/dev/null
key Escape; sleep 2
key Escape

wait_for_exit_code_0 "$shots/stderr.txt"
for s in title strength difficulty play pause; do [ -s "$shots/$s.png" ] || fail "no screenshot $s"; done
echo "PASS: versus the computer and back, exit code 0"
