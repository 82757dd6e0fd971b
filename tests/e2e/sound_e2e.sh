#!/usr/bin/env bash
# End-to-end sound: a PulseAudio server of the test's own with a null sink,
# the real executable under X playing into it (no SDL_AUDIODRIVER: the
# game's own choice of driver must find the server), the sink's monitor
# recorded, then measured: the title music audible, and the click of F3 (the
# help page) heard when the key is pressed. The server is stopped at the end.
#   sound_e2e.sh VIREXO SOUND_PROBE CLICK.wav WORK_DIR
set -uo pipefail
game=$1 probe=$2 click=$3 work=$4
[ -n "${DISPLAY:-}" ] || { echo "no X display: skipped"; exit 77; }
for tool in pulseaudio pactl parec sox xdotool xwininfo; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool missing (bash tools/setup.sh --test)"; exit 1; }
done
rm -rf "$work"
mkdir -p "$work/home" "$work/run" "$work/state"
work=$(cd "$work" && pwd)

pa_pid="" rec_pid="" game_pid=""
cleanup() {
  for p in $game_pid $rec_pid $pa_pid; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
. "$(dirname "$0")/game_driver.sh"

# The server, in the foreground of its own process so that the test owns it;
# a private home and runtime directory (as root it warns, and runs).
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" PULSE_RUNTIME_PATH="$work/run" \
       PULSE_STATE_PATH="$work/state"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
  --log-target=file:"$work/pulseaudio.log" \
  -L "module-null-sink sink_name=virexo_null rate=44100 channels=2" \
  -L "module-native-protocol-unix auth-anonymous=1 socket=$work/native" &
pa_pid=$!
export PULSE_SERVER="unix:$work/native"
unset SDL_AUDIODRIVER
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.2; done
pactl info >/dev/null 2>&1 || fail "the sound server did not start: $(cat "$work/pulseaudio.log")"

sox "$click" -t raw -e signed-integer -b 16 -c 2 -r 44100 "$work/click.raw" || fail "sox"
parec -d virexo_null.monitor --raw --format=s16le --rate=44100 --channels=2 --latency-msec=20 \
  > "$work/recording.raw" &
rec_pid=$!

"$game" 2>"$work/stderr.txt" &
game_pid=$!
wait_for_question || fail "no question box"
answer_question Escape
wait_for_game_window || fail "no game window"
key() { xdotool windowfocus --sync "$win" 2>/dev/null; xdotool key "$@"; }
# The title music plays for a while, then F3 opens the help page with a click.
sleep 5
# Where the press falls in the recording: what it holds at that moment
# (the recorder keeps 20 ms at most).
press_bytes=$(stat -c %s "$work/recording.raw")
key F3
sleep 2
key Escape; sleep 1; key Escape
for _ in $(seq 100); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$game_pid" 2>/dev/null && fail "the game still runs after Escape on the title"
wait "$game_pid"; rc=$?; game_pid=""
[ "$rc" -eq 0 ] || fail "exit code $rc: $(cat "$work/stderr.txt")"
kill "$rec_pid" 2>/dev/null; wait "$rec_pid" 2>/dev/null; rec_pid=""

grep -q "no audio device" "$work/stderr.txt" && fail "no device opened: $(cat "$work/stderr.txt")"
grep -q "ALSA lib" "$work/stderr.txt" && fail "ALSA's noise on standard error"
press=$(awk -v n="$press_bytes" 'BEGIN { printf "%.3f", n / 176400 }')
echo "recorded $(stat -c %s "$work/recording.raw") bytes; F3 pressed ${press} s in"
"$probe" "$work/recording.raw" "$work/click.raw" "$press" || fail "the sound measured wrong"
echo "PASS: the game played into the sound server"
