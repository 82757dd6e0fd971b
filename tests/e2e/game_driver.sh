# Shell functions for driving the real executable under X as a person would
# (sourced by the end-to-end tests and the real-game benchmark). They need
# xwininfo and xdotool, and DISPLAY set.

# Waits (up to 20 s) for the full-screen question, a message box captioned
# Virexo, and sets box to its window id. Returns 1 when none appears.
wait_for_question() {
  box=""
  for _ in $(seq 100); do
    box=$(xwininfo -name Virexo 2>/dev/null | awk '/Window id:/{print $4}')
    [ -n "$box" ] && break
    sleep 0.2
  done
  [ -n "$box" ] || return 1
  # The box takes a moment to map and take the keyboard.
  sleep 0.5
}

# Starts the game (GAME STDERR_FILE [ARGS...]) in the background, sets pid,
# and waits for its question (sets box); calls the script's fail without one.
start_game() {
  local game=$1 err=$2
  shift 2
  "$game" "$@" 2>"$err" &
  pid=$!
  wait_for_question || fail "no question box"
}

# Answers the question with a key (Return: full screen, Escape: window).
answer_question() {
  xdotool windowfocus --sync "$box" key "$1" 2>/dev/null || xdotool key "$1"
}

# Waits (up to 30 s) for the game's own window, the viewable top-level window
# named Virexo whose line in the window tree matches the optional awk
# pattern (default: any geometry; '' matches any line), and sets win.
# xdotool's search does not see SDL's windows here; the window tree does.
wait_for_game_window() {
  local pattern=${1-[0-9]+x[0-9]+\\+}
  win=""
  for _ in $(seq 150); do
    win=$(xwininfo -root -tree 2>/dev/null | awk -v p="$pattern" '/"Virexo"/ && $0 ~ p {print $1; exit}')
    [ -n "$win" ] && xwininfo -id "$win" 2>/dev/null | grep -q IsViewable && break
    win=""
    sleep 0.2
  done
  [ -n "$win" ]
}

# Types keys into the game's window.
game_keys() { xdotool windowfocus --sync "$win" 2>/dev/null; xdotool key --delay 80 "$@"; }
