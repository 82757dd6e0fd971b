#!/usr/bin/env bash
# A program that asks AppTerminate(), with a real window on the X display:
# the window manager's close request (WM_DELETE_WINDOW), SIGTERM, SIGINT and
# a destroyed window (xdotool windowclose) each end its loop, the code after
# the loop runs and main returns with 0, without an X error.
#   termination_window.sh PROBE WM_DELETE_WINDOW
set -uo pipefail
probe=$1 closer=$2
[ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null && command -v xwininfo >/dev/null ||
  { echo "no X display, xdotool or xwininfo: skipped"; exit 77; }
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy
dir=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$dir"' EXIT
fail() { echo "FAIL ($how): $*"; [ -f "$dir/err" ] && cat "$dir/err"; exit 1; }

for how in wm-delete SIGTERM SIGINT windowclose; do
  "$probe" >"$dir/out" 2>"$dir/err" &
  pid=$!
  for _ in $(seq 200); do grep -q ready "$dir/out" && break; sleep 0.05; done
  grep -q ready "$dir/out" || fail "never ready"
  win=$(xwininfo -root -tree | awk '/"Termination probe"/ {print $1; exit}')
  [ -n "$win" ] || fail "no window"
  case $how in
    wm-delete) "$closer" "$win" || fail "close request not sent" ;;
    windowclose) xdotool windowclose "$win" || fail "xdotool windowclose failed" ;;
    *) kill -"${how#SIG}" "$pid" ;;
  esac
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.03; done
  kill -0 "$pid" 2>/dev/null && fail "still running 3 s after the request"
  wait "$pid"; rc=$?
  pid=""
  [ "$rc" -eq 0 ] || fail "exit status $rc (want 0)"
  [ "$(cat "$dir/out")" = $'ready\nafter loop\nmain returned' ] || fail "output: $(cat "$dir/out")"
  grep -q "X Error" "$dir/err" && fail "an X error"
  echo "$how: the loop ended, main returned 0"
done
exit 0
