# Sourced by the end-to-end scripts: starts the game and finds its
# "Fullscreen?" question.
#   start_game GAME STDERR_FILE   sets pid; fails (via fail) without a box;
#                                 sets box to the question's window id
start_game() {
  "$1" 2>"$2" &
  pid=$!
  box=""
  for _ in $(seq 100); do
    box=$(xwininfo -name Virexo 2>/dev/null | awk '/Window id:/{print $4}')
    [ -n "$box" ] && break
    sleep 0.2
  done
  [ -n "$box" ] || fail "no question box"
  sleep 0.5
}

# answer_question KEY   Return (full screen) or Escape (a window)
answer_question() {
  xdotool windowfocus --sync "$box" key "$1" 2>/dev/null || xdotool key "$1"
}
