#!/usr/bin/env bash
# End-to-end: two real executables play online on the loopback interface,
# each on an Xvfb server of the test's own (a screen and keyboard each), as
# two people would: "virexo --host PORT" waits, "virexo --join" connects,
# the host chooses the difficulty, both play, the guest's Escape pauses both
# and the host's Space plays on; the guest quits (its SIGTERM tells the host)
# and the host quits. Each side's frame statistics say which screens it drew.
#   online_e2e.sh VIREXO SHOT_DIR [PLAY_SECONDS [NET_RELAY RELAY_ARGS...]]
# With E2E_CORES="A B" each side runs on a core of its own (see below).
# With PLAY_SECONDS the two play that long (the online benchmark); with
# NET_RELAY the guest joins through that relay (tools/net_relay), started
# here with RELAY_ARGS (say --delay 80 --jitter 20 --loss 0.05).
set -uo pipefail
game=$1 shots=$2 play=${3:-2}
relay=${4:-}
shift $(( $# < 4 ? $# : 4 ))
mkdir -p "$shots"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v xwininfo >/dev/null ||
  { echo "Xvfb, xdotool or xwininfo missing: skipped"; exit 77; }
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy

servers=() pids=() fbdirs=() taken=()
cleanup() {
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done
  for x in "${servers[@]}"; do kill "$x" 2>/dev/null && wait "$x" 2>/dev/null; done
  rm -rf "${fbdirs[@]}"
}
trap cleanup EXIT
# A screenshot of a display: a copy of its screen file (each server keeps
# its screen in a file, -fbdir), made into a PNG once the games are over.
# Encoding a PNG takes a core for half a second, and doing it during play,
# even at the lowest priority, made both games' frames half as fast again
# for that half second.
shot() { cp "${fbdirs[${1#:}]}/Xvfb_screen0" "$2.xwd" && taken+=("$2"); }
develop() {
  for f in "${taken[@]}"; do convert "xwd:$f.xwd" "$f" 2>/dev/null && rm -f "$f.xwd"; done
  taken=()
}
fail() { develop; echo "FAIL: $*"; for f in "$shots"/*.err; do echo "== $f"; cat "$f"; done; exit 1; }

# An Xvfb server on a free display number; sets num.
server() {
  local fifo fb
  fifo=$(mktemp -u) && mkfifo "$fifo"
  fb=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
  ${launch[@]+"${launch[@]}"} Xvfb -displayfd 4 -screen 0 1024x768x24 -r -nolisten tcp -noreset -fbdir "$fb" 4>"$fifo" 2>>"$shots/xvfb.txt" &
  servers+=($!)
  read -r -t 20 num <"$fifo" || fail "Xvfb did not start"
  rm -f "$fifo"
  fbdirs[$num]=$fb
}
. "$(dirname "$0")/game_driver.sh"

# A UDP port nobody listens on: one from the dynamic range that ss does not
# list as bound (ss is in iproute2; without it, any from the range).
port=""
for _ in $(seq 20); do
  candidate=$(( 49152 + RANDOM % 16000 ))
  if ! ss -Hlun 2>/dev/null | awk '{print $5}' | grep -q ":$candidate\$"; then port=$candidate; break; fi
done
[ -n "$port" ] || fail "no free UDP port"

# With E2E_CORES="A B", the host's server and game run on core A and the
# guest's on core B, as if each player had a machine of one core.
cores=(${E2E_CORES:-})
on_core() { launch=(); if [ ${#cores[@]} = 2 ]; then launch=(taskset -c "${cores[$1]}"); fi; }
on_core 0
server; hostdpy=":$num"
export DISPLAY=$hostdpy
start_game "$game" "$shots/host.err" --host "$port" --frame-stats "$shots/host-stats.txt" >"$shots/host.out"
hostpid=$pid pids+=($pid)
answer_question Escape
wait_for_game_window || fail "no host window"
hostwin=$win
sleep 2
shot "$hostdpy" "$shots/host-waiting.png"

target=$port
if [ -n "$relay" ]; then
  "$relay" --target "$port" --seconds $(( play + 120 )) "$@" >"$shots/relay.txt" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do grep -q '^listening' "$shots/relay.txt" && break; sleep 0.1; done
  target=$(awk '/^listening/ {print $3}' "$shots/relay.txt")
  [ -n "$target" ] || fail "the relay did not start"
fi

on_core 1
server; guestdpy=":$num"
export DISPLAY=$guestdpy
start_game "$game" "$shots/guest.err" --join "127.0.0.1:$target" --frame-stats "$shots/guest-stats.txt"
guestpid=$pid pids+=($pid)
answer_question Escape
wait_for_game_window || fail "no guest window"
guestwin=$win
sleep 3

host_keys() { DISPLAY=$hostdpy; win=$hostwin; game_keys "$@"; }
guest_keys() { DISPLAY=$guestdpy; win=$guestwin; game_keys "$@"; }
host_keys F2; sleep 1
shot "$guestdpy" "$shots/guest-difficulty.png"
host_keys F1
sleep "${E2E_READY_SECONDS:-8}"
guest_keys Left Down Up
host_keys Right Down Up
for _ in $(seq $(( play / 2 ))); do
  guest_keys Right Down
  host_keys Left Up
  sleep 1.5
done
sleep 2
shot "$hostdpy" "$shots/host-play.png"
guest_keys Escape; sleep 2
shot "$hostdpy" "$shots/host-paused-by-guest.png"
host_keys space; sleep 2
kill -TERM "$guestpid"
wait "$guestpid"; guestrc=$?
sleep 2
shot "$hostdpy" "$shots/host-after-guest-left.png"
kill -0 "$hostpid" 2>/dev/null || fail "the host ended when the guest left"
kill -TERM "$hostpid"
wait "$hostpid"; hostrc=$?
[ "$guestrc" = 143 ] || fail "guest exit status $guestrc"
[ "$hostrc" = 143 ] || fail "host exit status $hostrc"

develop

# The screens each side drew.
screens() { awk 'NR > 1 && $1 !~ /^startup/ {print $1}' "$1" | sort | tr '\n' ' '; }
hs=$(screens "$shots/host-stats.txt") gs=$(screens "$shots/guest-stats.txt")
echo "host drew: $hs"
echo "guest drew: $gs"
for s in espera menu dificultad iniciajuego juego-2p pausa; do
  [[ " $hs" == *" $s "* ]] || fail "the host never drew $s"
done
# (The guest's "espera" is its connecting screen: on loopback the host may
# answer before the guest draws its first frame.)
for s in menu dificultad iniciajuego juego-2p pausa; do
  [[ " $gs" == *" $s "* ]] || fail "the guest never drew $s"
done
# Each frame's work was timed, and the frames with a correction counted.
for side in host guest; do
  awk '$1 == "work" && $2 == "frames" && $3 > 300 && $5 > 0 && $5 < 100 { ok = 1 } END { exit !ok }' \
    "$shots/$side-stats.txt" || fail "the $side timed no frame's work"
  grep -q "^work correction_frames [0-9]" "$shots/$side-stats.txt" || fail "the $side counted no correction frames"
done
grep -qi "error\|cannot" "$shots/host.err" "$shots/guest.err" && fail "errors printed"
grep -q "^Virexo: waiting for a player on UDP port $port" "$shots/host.out" || fail "the host did not say where it waits"
echo "ok"
