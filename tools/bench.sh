#!/usr/bin/env bash
# Builds and runs every benchmark, then prints the figures against the
# targets we hold ourselves to. Release build in build-bench/; the programs
# that need a display run under xvfb-run. Run as root on Debian 12.
#   tools/bench.sh           all benchmarks, then the table
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh

dir=build-bench
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTREL_BENCH=ON -DKESTREL_TESTS=OFF >/dev/null
targets=(virexo virexo_slow_display program_bench screen_draw_bench rollback_frame_bench game_rules_bench renderer_frame_bench sound_buffer_bench mix_quality_bench softmix_bench png_decode game_clock_bench virexo-cpu-match machine_stalls)
cmake --build "$dir" -j "$(nproc)" --target "${targets[@]}"

out="$dir/bench-results"
rm -rf "$out" && mkdir -p "$out"
xvfb() { xvfb-run -a -s "-screen 0 1024x768x24 -r -noreset" "$@"; }

# Google Benchmark programs write JSON; the timed programs print
# "figure <name> <value>" lines.
gbench() {
  local name=$1; shift
  echo "== $name" >&2
  "$@" --benchmark_out="$out/$name.json" --benchmark_out_format=json >&2
}
gbench game_rules "$dir/bench/game_rules_bench"
gbench png_decode "$dir/bench/png_decode"
gbench softmix "$dir/bench/softmix_bench"
gbench sound_buffer "$dir/bench/sound_buffer_bench"
gbench renderer xvfb "$dir/bench/renderer_frame_bench"
# The computer opponent's thinking: every update of 100 games of the
# strongest against itself on Severe, timed in the thread's CPU time.
echo "== computer opponent" >&2
"$dir/tools/cpu_match/virexo-cpu-match" --games 100 --left hard --right hard --difficulty severe --seed 1 |
  tee "$out/cpu_match.txt" >&2

# Loud moments and frequency conversion of the sound-buffer service, mixed
# offline from the game's own sounds; the recordings go through sox too.
echo "== mix quality" >&2
mkdir -p "$out/mix"
"$dir/bench/mix_quality_bench" assets/sfx "$out/mix" | tee "$out/mix_quality.txt" >&2
soxflat() {
  sox -t raw -r 44100 -e signed -b 16 -c 2 "$out/mix/$1.raw" -n stats 2>&1 | awk '$1 == "Flat" { print $3; exit }'
}
# The machine's own stalls, with nothing else running: a frame caught in
# one is as slow whatever the game does.
echo "== machine stalls" >&2
"$dir/bench/machine_stalls" 20 | tee "$out/machine.txt" >&2
echo "== game clock" >&2
"$dir/bench/game_clock_bench" | tee "$out/figures.txt" >&2
# Start-up is a one-off per process: the median of five runs.
for i in 1 2 3 4 5; do
  echo "== program, run $i" >&2
  xvfb "$dir/bench/program_bench" 2>/dev/null | tee -a "$out/program.txt" >&2
done

# The real executable, played through every screen by bench/real_game.sh at
# the display's natural rate and with the display slowed to 25 and 12 frames
# a second; the game writes its own frame statistics.
for hz in 0 25 12; do
  echo "== real game, display ${hz/#0/natural} Hz" >&2
  xvfb bash bench/real_game.sh "$PWD/$dir/game/virexo" "$PWD/$dir/bench/virexo_slow_display.so" \
    "$out/real_$hz.txt"
  cat "$out/real_$hz.txt" >&2
done
# Two real executables playing online for 30 s, directly and through the
# lossy relay (each on a display of its own; both share this machine's cores).
echo "== online" >&2
bash bench/online_game.sh "$PWD/$dir/game/virexo" "$PWD/$dir/tools/net_relay/net-relay" "$out/online" 30 |
  tee "$out/online.txt" >&2

# A column of a state's line in a real-game statistics file.
real() { awk -v s="$2" -v c="$3" '$1 == s { print $c; exit }' "$out/real_$1.txt"; }
# Drawn frames a second of every screen (redraw + immediate swap).
echo "== screens" >&2
xvfb "$dir/bench/screen_draw_bench" 300 2>/dev/null | tee "$out/screens.txt" >&2
# The online game's worst frame: a correction 12 updates deep, then drawn.
echo "== rollback frame" >&2
xvfb "$dir/bench/rollback_frame_bench" 300 2>/dev/null | tee "$out/rollback_frame.txt" >&2

# The value of a counter (or of real_time) of one benchmark in a JSON file.
counter() {
  awk -v want="$2" -v key="$3" '
    /"name":/ { gsub(/[",]/, "", $2); name = $2 }
    name == want && $1 == "\"" key "\":" { gsub(/,/, "", $2); print $2; exit }' "$out/$1.json"
}
figure() { awk -v k="$1" '$1 == "figure" && $2 == k { print $3; exit }' "$out/figures.txt"; }
median() {
  awk -v k="$1" '$1 == "figure" && $2 == k { print $3 }' "$out/program.txt" | sort -g |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

screen() { awk -v k="$1" '$1 == "figure" && $2 == k { print $3; exit }' "$out/screens.txt"; }
rowmin() {  # name value unit target(ge) note
  local verdict
  verdict=$(awk -v v="$2" -v t="$4" 'BEGIN { print (v + 0 >= t + 0) ? "met" : "MISSED" }')
  printf '%-58s %12.3f %-4s %10s  %-6s %s\n' "$1" "$2" "$3" ">= $4" "$verdict" "$5"
}

row() {  # name value unit target(le) note
  local verdict="-"
  if [ -n "$4" ]; then
    verdict=$(awk -v v="$2" -v t="$4" 'BEGIN { print (v + 0 <= t + 0) ? "met" : "MISSED" }')
  fi
  printf '%-58s %12.3f %-4s %10s  %-6s %s\n' "$1" "$2" "$3" "${4:+<= $4}" "$verdict" "$5"
}

echo
printf '%-58s %12s %-4s %10s  %-6s %s\n' "figure" "measured" "unit" "target" "" "note"
for st in menu ayuda dificultad iniciajuego juego-1p pausa juego-2p; do
  rowmin "real game: $st, frames a second" "$(real 0 $st 4)" fps 59 \
    "interval median $(real 0 $st 5) ms, p95 $(real 0 $st 6) ms"
done
for hz in 0 25 12; do
  rowmin "real game: game time / wall time, display ${hz/#0/natural} Hz" "$(real $hz all 7)" "" 0.99 \
    "$(real $hz all 4) fps drawn; get-ready took $(real $hz iniciajuego 3) s for 2 x 3 s"
done
row "real game: start-up, answer to first frame" "$(awk '$1 == "startup" { print $3 }' "$out/real_0.txt")" ms 300 "Xvfb + Mesa llvmpipe"
row "start-up: display open to first frame (median of 5)" "$(median startup_ms)" ms 300 "assets decoded; Xvfb + Mesa llvmpipe"
row "  of which the backdrop's glow picture made" "$(median startup_backdrop_ms)" ms "" "computed on the CPU"
row "  of which the assets loaded (music decoded in parallel)" "$(median startup_assets_ms)" ms "" ""
row "start-up: main thread CPU, entry to first frame" "$(median startup_main_cpu_ms)" ms "" "incl. Mesa's own work on that thread"
row "frame: two-player update + draw submission, main thread" "$(median frame_cpu_ms)" ms 0.5 "full boards; includes llvmpipe's vertex work"
row "frame: renderer's own CPU for 400 quads (GL stubbed)" \
  "$(counter renderer BM_SubmitFrame400QuadsRendererOnly real_time)" us "" "part of the line above"
row "frame: game update of two full boards" "$(counter game_rules BM_TwoPlayerFrameUpdate real_time)" ns "" ""
cpu() { awk -v k="$1" -v o="$2" '{ for (i = 1; i <= NF; i++) if ($i == k) { print $(i + o); exit } }' "$out/cpu_match.txt"; }
row "computer opponent: thinking per update, mean" "$(cpu thinking 1)" ms 0.2 "hard vs hard, Severe, 100 games"
row "computer opponent: thinking per update, worst" "$(cpu worst -2)" ms 2 "thread CPU time"
row "audio: sound-buffer service, 32 voices" "$(counter sound_buffer BM_Mix32LoopingVoices core_pct)" "%" 1 "share of one core"
mixfig() { awk -v f="$1" '$1 == "figure" && $2 == f { print $3; exit }' "$out/mix_quality.txt"; }
row "audio: clear of 4 cells over the music, clipped samples" "$(mixfig clear4_clipped_samples)" "" 0 "peak $(mixfig clear4_peak_dbfs) dBFS, sox flat factor $(soxflat clear4)"
row "audio: clear of 8 cells over the music, clipped samples" "$(mixfig clear8_clipped_samples)" "" 0 "peak $(mixfig clear8_peak_dbfs) dBFS"
row "audio: 15-minute play session, clipped samples" "$(mixfig session_clipped_samples)" "" 0 "$(mixfig session_clip_events) clip events; sox flat factor $(soxflat session)"
row "audio: 22050 Hz effects, strongest image above 11025 Hz" "$(mixfig image_above_nyquist_db_worst)" dB -60 "against the strongest line below"
row "audio: software mixer, 32 voices" "$(counter softmix BM_MixVoices/32 core_pct)" "%" 1 "share of one core"
row "audio: PlaySound to first mixed sample, mean" "$(counter sound_buffer BM_PlaySoundToFirstSample/iterations:100/manual_time mean_ms)" ms 25 "+ one 11.6 ms device period"
row "audio: PlaySound to first mixed sample, worst" "$(counter sound_buffer BM_PlaySoundToFirstSample/iterations:100/manual_time worst_ms)" ms 25 "+ one 11.6 ms device period"
for s in menu ayuda dificultad iniciajuego juego1 pausa fin10 fin10b juego2 fin20 fin21 fin20b fin21b; do
  rowmin "frame rate: $s (redraw + Flip(0))" "$(screen fps_$s)" fps 60 "Xvfb + Mesa llvmpipe"
done
for hz in 60hz 75hz 144hz instant; do
  row "pacer alone, simulated swaps: clock error, $hz" "$(figure clock_error_pct_$hz)" "%" 0.5 "600 frames, not the real game"
done
row "PNG decode 1024x768 RGBA" "$(counter png_decode BM_PngDecode1024x768Rgba real_time)" ms "" ""
rb() { awk -v k="$1" '$1 == "figure" && $2 == k { print $3; exit }' "$out/rollback_frame.txt"; }
row "online: a correction 12 updates deep, re-run alone, greatest" "$(rb rollback_rerun_ms_max)" ms 16.7 "restore + 12 updates"
row "online: a frame with that correction, drawn and swapped, median" "$(rb rollback_frame_ms_median)" ms 16.7 "Xvfb + Mesa llvmpipe"
row "online: a frame with that correction, drawn and swapped, greatest" "$(rb rollback_frame_ms_max)" ms 16.7 "a machine stall counts too (below)"
row "online: the same frame with no correction, median" "$(rb plain_frame_ms_median)" ms "" "the drawing alone"
mf() { awk -v k="$1" '$1 == "figure" && $2 == k { print $3; exit }' "$out/machine.txt"; }
row "machine: the host's stalls of a computing loop, a minute" "$(mf machine_stalls_per_minute)" "" "" "20 s of 4 ms slices, nothing else running"
row "machine: the longest such stall" "$(mf machine_stall_ms_max)" ms "" "no frame caught in one keeps to 16.7 ms"
row "two-player frame: changes of picture sent" "$(rb picture_changes_per_frame)" "" "" "each costs llvmpipe about as much as a piece"
row "two-player frame, filled alone: backdrop with both grids" "$(rb part_backdrop_ms_median)" ms "" "glFinish after each part, median"
row "two-player frame, filled alone: both boards" "$(rb part_boards_ms_median)" ms "" "thrower, shadows, pieces"
row "two-player frame, grids, throwers and plain pieces' shadows in the backdrop's pass, median" "$(rb underlay_in_backdrop_ms_median)" ms "" "interleaved with the next row"
row "two-player frame, all of it drawn after the backdrop, median" "$(rb underlay_apart_ms_median)" ms "" "each of their pixels filled twice"
# The online figures, as measured (two games and their displays on one machine).
sed 's/^figure online /online: /' "$out/online.txt"
