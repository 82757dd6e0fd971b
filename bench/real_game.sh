#!/usr/bin/env bash
# The real executable played as a person would, under the X display given in
# DISPLAY: answers the question (window), visits the title, help, difficulty,
# get-ready, one-player play, pause, two-player play and pause again, then
# quits; the game writes its frame statistics on the way out.
#   real_game.sh VIREXO SLOW_DISPLAY_SO OUT_FILE [HZ]
# With HZ, the display is slowed to HZ swaps a second (see slow_display.c).
set -uo pipefail
game=$1 shim=$2 out=$3 hz=${4:-0}
[ -n "${DISPLAY:-}" ] || { echo "real_game.sh: no X display" >&2; exit 2; }

env_args=()
[ "$hz" -gt 0 ] && env_args=(LD_PRELOAD="$shim" VIREXO_SLOW_DISPLAY_HZ="$hz")
env "${env_args[@]}" "$game" --frame-stats "$out" 2>/dev/null &
pid=$!
fail() { echo "real_game.sh: $*" >&2; kill "$pid" 2>/dev/null; exit 1; }

. "$(dirname "$0")/../tests/e2e/game_driver.sh"
wait_for_question || fail "no question box"
answer_question Escape
wait_for_game_window || fail "no game window"
key() { xdotool windowfocus --sync "$win" 2>/dev/null; xdotool key --delay 60 "$@"; }

sleep 4                       # title
key F3; sleep 3               # help
key Escape; sleep 1
key F1; sleep 3               # difficulty
key F1; sleep 3.5             # get ready (3 s of game time), then play
sleep 6                       # one-player play
key Escape; sleep 3           # pause
key Escape; sleep 1           # title
key F2; sleep 1
key F3; sleep 3.5             # severe: eight rows each; get ready
sleep 8                       # two-player play
key Escape; sleep 2           # pause
key Escape; sleep 1
key Escape                    # quit

for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
kill -0 "$pid" 2>/dev/null && fail "still running after Escape on the title"
wait "$pid" || fail "exit code $?"
[ -s "$out" ] || fail "no frame statistics"
