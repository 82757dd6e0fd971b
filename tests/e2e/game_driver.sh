# Shell functions for driving the real executable under X as a person would
# (sourced by the end-to-end tests and the real-game benchmark). They need
# xwininfo and xdotool, and DISPLAY set.

# Starts an X server of the test's own (Xvfb, SIZE as WIDTHxHEIGHT, its
# messages to LOG) on a free display number, exports DISPLAY for it and
# sets xvfb to its pid (the caller stops it). Calls the script's fail when
# the server does not start.
start_xvfb() {
  local size=$1 log=$2 fifo num
  fifo=$(mktemp -u) && mkfifo "$fifo"
  Xvfb -displayfd 4 -screen 0 "${size}x24" -r -nolisten tcp -noreset 4>"$fifo" 2>"$log" &
  xvfb=$!
  read -r -t 20 num <"$fifo" || { rm -f "$fifo"; fail "Xvfb did not start: $(cat "$log")"; }
  rm -f "$fifo"
  export DISPLAY=":$num"
  unset SDL_VIDEODRIVER
}

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
# A script's array `launch`, when set, is the command the game runs under
# (say taskset -c 0).
start_game() {
  local game=$1 err=$2
  shift 2
  ${launch[@]+"${launch[@]}"} "$game" "$@" 2>"$err" &
  pid=$!
  # A game whose box never comes is not left running after the script.
  wait_for_question || { kill -9 "$pid" 2>/dev/null; fail "no question box"; }
}

# Answers the question with a key (Return: full screen, Escape: window). A
# box that has not taken the keyboard yet (a slow build) misses the key: it
# is pressed again while the box stays, up to five times.
answer_question() {
  for _ in 1 2 3 4 5; do
    xdotool windowfocus --sync "$box" key "$1" 2>/dev/null || xdotool key "$1"
    for _ in $(seq 10); do
      xwininfo -id "$box" >/dev/null 2>&1 || return 0
      sleep 0.2
    done
  done
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

# After the last Escape on the title: waits (up to 30 s) for the game ($pid)
# to end and calls the script's fail unless it ended with 0 (STDERR_FILE is
# shown with the code).
wait_for_exit_code_0() {
  local rc
  for _ in $(seq 150); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  kill -0 "$pid" 2>/dev/null && fail "still running after Escape on the title"
  wait "$pid"; rc=$?
  [ "$rc" -eq 0 ] || fail "exit code $rc: $(cat "$1")"
}

# Window geometry and picture checks (they need win set, and call the
# script's fail).
geometry() {  # sets wx wy ww wh of the game window
  local info
  info=$(xwininfo -id "$win")
  wx=$(awk '/Absolute upper-left X/{print $4}' <<<"$info")
  wy=$(awk '/Absolute upper-left Y/{print $4}' <<<"$info")
  ww=$(awk '/Width:/{print $2}' <<<"$info")
  wh=$(awk '/Height:/{print $2}' <<<"$info")
}

# Brightest channel level (0..255: the largest red, green or blue value) of
# a screen area WxH+X+Y of a screenshot. Not grey: an edge lit in pure red
# is dark in grey but plainly lit.
brightest() {
  /usr/bin/convert "$1" -crop "$2" +repage \
    -format '%[fx:round(255*max(maxima.r,max(maxima.g,maxima.b)))]' info:
}

# The picture fills box (W H X Y, screen coordinates) of screenshot $1:
# each of its edge bands has lit pixels, and the window's area outside the
# box is black.
check_letterbox() {
  local shot=$1 bw=$2 bh=$3 bx=$4 by=$5
  # Bands of an eighth of the picture along each edge: the title's banner,
  # author line and option list lie in them wherever the glows of the
  # backdrop happen to be (a one-pixel edge line can fall dark between them).
  local tw=$(( (bw + 7) / 8 )) th=$(( (bh + 7) / 8 ))
  local edges=("${bw}x${th}+${bx}+${by}" "${bw}x${th}+${bx}+$((by + bh - th))"
               "${tw}x${bh}+${bx}+${by}" "${tw}x${bh}+$((bx + bw - tw))+${by}")
  for e in "${edges[@]}"; do
    [ "$(brightest "$shot" "$e")" -gt 40 ] || fail "the picture's edge band $e is dark in $shot"
  done
  if [ "$bx" -gt "$wx" ]; then
    [ "$(brightest "$shot" "$((bx - wx))x${wh}+${wx}+${wy}")" -eq 0 ] || fail "left bar not black in $shot"
    [ "$(brightest "$shot" "$((wx + ww - bx - bw))x${wh}+$((bx + bw))+${wy}")" -eq 0 ] || fail "right bar not black in $shot"
  fi
  if [ "$by" -gt "$wy" ]; then
    [ "$(brightest "$shot" "${ww}x$((by - wy))+${wx}+${wy}")" -eq 0 ] || fail "top bar not black in $shot"
    [ "$(brightest "$shot" "${ww}x$((wy + wh - by - bh))+${wx}+$((by + bh))")" -eq 0 ] || fail "bottom bar not black in $shot"
  fi
  return 0
}

# The largest 4:3 box in the window, centred (as the game letter-boxes).
fitted_box() {
  if [ $((ww * 3)) -le $((wh * 4)) ]; then bw=$ww; bh=$((ww * 3 / 4)); else bh=$wh; bw=$((wh * 4 / 3)); fi
  bx=$((wx + (ww - bw) / 2)); by=$((wy + (wh - bh) / 2))
}
