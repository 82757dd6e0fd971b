#!/usr/bin/env bash
# End-to-end: taps on a slow display. The real executable on an Xvfb server
# of the test's own, every buffer swap held to HZ a second by the preloaded
# slow-display shim (a busy machine or a weak GPU), keys sent by xdotool as
# real X events. Two taps of Left 30 ms apart must walk the thrower two
# cells, and a tap whose press and release fall inside one drawn frame one
# cell: the game's frame statistics report the cells walked.
#   tap_timing_e2e.sh VIREXO SLOW_DISPLAY_SHIM OUT_DIR HZ
set -uo pipefail
game=$1 shim=$2 out=$3 hz=$4
mkdir -p "$out"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v xwininfo >/dev/null ||
  { echo "Xvfb, xdotool or xwininfo missing: skipped"; exit 77; }

xvfb=""
pid=""
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
}
trap cleanup EXIT
fail() { echo "FAIL ($hz Hz): $*"; exit 1; }

. "$(dirname "$0")/game_driver.sh"
start_xvfb 1024x768 "$out/xvfb.txt"
stats="$out/stats.txt"
rm -f "$stats"
LD_PRELOAD="$shim" VIREXO_SLOW_DISPLAY_HZ="$hz" start_game "$game" "$out/stderr.txt" --frame-stats "$stats"
answer_question Escape
wait_for_game_window '' || fail "no game window"
sleep 2
game_keys F1; sleep 1; game_keys F1
# "Get ready!" lasts three seconds of game time, which keeps to the wall
# clock on this display.
sleep 5
xdotool windowfocus --sync "$win" 2>/dev/null
xdotool key --delay 30 Left Left
sleep 1
xdotool key Right
sleep 1
game_keys Escape; sleep 1; game_keys Escape; sleep 1; game_keys Escape

wait_for_exit_code_0 "$out/stderr.txt"
pid=""
fps=$(awk '$1 == "juego-1p" {print $4}' "$stats")
walked=$(awk '$1 == "thrower" && $2 == 0 {print $4}' "$stats")
echo "play drawn at $fps frames a second; the thrower walked $walked cells"
[ -n "$walked" ] || fail "no thrower in the report: $(cat "$stats")"
# Two cells left, then one back right.
[ "$walked" -eq 3 ] || fail "two taps and a tap walked $walked cells, not 3"
echo "PASS ($hz Hz)"
