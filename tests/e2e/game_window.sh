# Sourced by the end-to-end scripts: answers the game's "Fullscreen?"
# question and finds its window. Each calls the script's own fail on a
# timeout.

# answer_question KEY: waits for the message box captioned Virexo and types
# KEY (Return or Escape) into it.
answer_question() {
  local box=""
  for _ in $(seq 100); do
    box=$(xwininfo -name Virexo 2>/dev/null | awk '/Window id:/{print $4}')
    [ -n "$box" ] && break
    sleep 0.2
  done
  [ -n "$box" ] || fail "no question box"
  sleep 0.5
  xdotool windowfocus --sync "$box" key "$1" 2>/dev/null || xdotool key "$1"
}

# find_game_window: sets win to the game's 1024 x 768 window (either answer:
# full screen falls back to the screen-sized window where the mode cannot
# change).
find_game_window() {
  win=""
  for _ in $(seq 150); do
    # xdotool's search does not see SDL's windows here; the window tree does.
    win=$(xwininfo -root -tree 2>/dev/null | awk '/"Virexo"/ && / 1024x768\+/ {print $1; exit}')
    [ -n "$win" ] && break
    sleep 0.2
  done
  [ -n "$win" ] || fail "no 1024x768 game window"
}
