#!/usr/bin/env bash
# Two real executables playing online for PLAY_SECONDS, each on an Xvfb
# server of its own (tests/e2e/online_e2e.sh), directly on the loopback
# interface and through the relay with 80 ms of delay, 20 ms of jitter and
# 5 % loss; prints each side's input delay, round trip, lockstep updates a
# second in get-ready and play (60 is full speed), frames drawn a second in
# play, waits past the notice, what it sent a second and its CPU share; and
# for a game with rollback its corrections a second, their depth, the
# updates re-run and held back, and the time a correction took; and each
# frame's work (its updates and its drawing filled), the frames with a
# correction apart.
# With RELAY_RUNS, the relay run is made that many times; with SLOW_LINK=1,
# one more goes through 150 ms of delay, 30 ms of jitter and 3 % loss. With
# E2E_CORES="0 1", each game and its X server keep to a core of their own,
# as if each player had a machine of one core.
#   online_game.sh VIREXO NET_RELAY OUT_DIR [PLAY_SECONDS]
set -uo pipefail
# Two games and two X servers share this machine's cores: each game's
# software renderer gets one drawing thread, as if the other game were on
# a machine of its own (with a thread for each core, both games' threads
# crowd each other and each drew only 11-23 frames a second).
export LP_NUM_THREADS=${LP_NUM_THREADS:-1}
game=$1 relay=$2 out=$3 play=${4:-30}
runs=${RELAY_RUNS:-1}
here=$(dirname "$0")
mkdir -p "$out"
field() { awk -v k="$2" -v w="$3" '$1 == k && $2 == w { print $3; exit }' "$1"; }
state() { awk -v s="$2" -v c="$3" '$1 == s { print $c; exit }' "$1"; }
report() {  # label dir
  for side in host guest; do
    local f="$2/$side-stats.txt"
    local secs; secs=$(state "$f" all 3)
    awk -v label="$1 $side" -v d="$(field "$f" online delay_frames)" -v rtt="$(field "$f" online rtt_ms)" \
        -v fps="$(state "$f" juego-2p 4)" -v stalls="$(field "$f" online stall_notices)" \
        -v pay="$(field "$f" online payload_bytes_sent)" -v udp="$(field "$f" online udp_bytes_sent)" \
        -v dg="$(field "$f" online datagrams_sent)" -v cpu="$(field "$f" process cpu_s)" -v s="$secs" \
        -v ups="$(field "$f" online updates)" -v ps="$(awk '$1 == "iniciajuego" || $1 == "juego-2p" { t += $3 } END { print t }' "$f")" 'BEGIN {
      printf "figure online %-22s delay %d frames (%.0f ms)  rtt %.0f ms  game %.1f updates/s  drawn %.1f fps  stalls %d  sent %.0f B/s payload, %.0f B/s on the wire (%.0f datagrams/s)  CPU %.0f %%\n",
        label, d, d * 1000 / 60, rtt, ups / ps, fps, stalls, pay / s, (udp + 28 * dg) / s, dg / s, 100 * cpu / s }'
    awk -v label="$1 $side" -v ps="$(awk '$1 == "iniciajuego" || $1 == "juego-2p" { t += $3 } END { print t }' "$f")" '
      $1 == "online" { v[$2] = $3 }
      END { if (v["rollback"] == 1)
        printf "figure rollback %-22s %.2f rollbacks/s  depth mean %.1f, greatest %d updates  %d updates re-run  %d held back  correction mean %.2f ms, slowest %.2f ms  desyncs %d  window %d  delay at most %d (%d changes)\n",
          label, v["rollbacks"] / ps, v["rollback_depth_mean"], v["rollback_depth_max"], v["updates_rerun"], v["updates_held"],
          v["rollback_us_mean"] / 1000, v["rollback_us_max"] / 1000, v["desyncs"], v["window"], v["delay_frames_max"], v["delay_changes"] }' "$f"
    # Each frame's work, its updates and its drawing filled, before the
    # pacing pause: of all frames, and of the frames with a correction.
    awk -v label="$1 $side" '
      $1 == "work" && $2 == "frames" { all = sprintf("median %.2f ms, p95 %.2f ms, slowest %.2f ms", $5, $7, $9) }
      $1 == "work" && $2 == "correction_frames" { n = $3; mean = $5; max = $7 }
      $1 == "work" && $2 == "slowest_correction" { cpu = " (process CPU " $NF " ms in it)" }
      END { if (all != "")
        printf "figure frame-work %-22s every frame: %s  %d frames with a correction: mean %.2f ms, slowest %.2f ms%s\n", label, all, n, mean, max, cpu }' "$f"
  done
}
bash "$here/../tests/e2e/online_e2e.sh" "$game" "$out/loopback" "$play" >"$out/loopback.log" 2>&1 ||
  { cat "$out/loopback.log"; exit 1; }
report loopback "$out/loopback"
for run in $(seq "$runs"); do
  d="$out/relay"; [ "$runs" = 1 ] || d="$out/relay-$run"
  bash "$here/../tests/e2e/online_e2e.sh" "$game" "$d" "$play" "$relay" --delay 80 --jitter 20 --loss 0.05 \
    >"$d.log" 2>&1 || { cat "$d.log"; exit 1; }
  report "relay 80/20/5%" "$d"
done
if [ "${SLOW_LINK:-0}" = 1 ]; then
  bash "$here/../tests/e2e/online_e2e.sh" "$game" "$out/slow" "$play" "$relay" --delay 150 --jitter 30 --loss 0.03 \
    >"$out/slow.log" 2>&1 || { cat "$out/slow.log"; exit 1; }
  report "relay 150/30/3%" "$out/slow"
fi
