#!/usr/bin/env bash
# End-to-end: the real executable under an X server, driven by xdotool as a
# person would: answer the full-screen question, start a one-player game,
# move and throw, then Escape x3 back out (exit code 0).
#   play_e2e.sh VIREXO ANSWER(Return|Escape) SHOT_DIR
set -uo pipefail
game=$1 answer=$2 shots=$3
mkdir -p "$shots"
[ -n "${DISPLAY:-}" ] || { echo "no X display: skipped"; exit 77; }

fail() { echo "FAIL: $*"; kill "$pid" 2>/dev/null; exit 1; }
"$game" 2>"$shots/stderr.txt" &
pid=$!

. "$(dirname "$0")/game_driver.sh"
wait_for_question || fail "no question box"
answer_question "$answer"
# The game's window: 1024 x 768 either way (full screen falls back to the
# screen-sized window where the mode cannot change).
wait_for_game_window ' 1024x768\\+' || fail "no 1024x768 game window"
echo "game window $win: 1024x768"

key() { game_keys "$@"; }
sleep 3
import -window root "$shots/title.png" 2>/dev/null
key F1; sleep 2; key F1
# Get ready lasts three seconds of frames; leave room for a slow renderer.
sleep "${E2E_READY_SECONDS:-20}"
key Left Left Down Right Up
sleep 2
import -window root "$shots/play.png" 2>/dev/null
key Escape; sleep 2
import -window root "$shots/pause.png" 2>/dev/null
key Escape; sleep 2
key Escape

wait_for_exit_code_0 "$shots/stderr.txt"
echo "PASS: exit code 0 ($answer)"
