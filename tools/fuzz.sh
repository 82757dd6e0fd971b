#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, with ASan+UBSan) and runs one of them
# for a number of executions, then merges what it found into the committed
# corpus, minimised. Run as root on Debian 12.
#   tools/fuzz.sh                      lists the targets
#   tools/fuzz.sh TARGET [RUNS [JOBS]] fuzzes TARGET for RUNS executions
#                                      (10,000,000 by default) split over JOBS
#                                      processes (1 by default)
# TARGET is one of: load_pixmap stream_read wav_loader ogg_loader font_loader
# net_packet.
# FUZZ_SANITIZE=0 builds without ASan+UBSan (build-fuzz-plain/): several
# times the executions a second for the slow targets; the suite still replays
# the corpus under the sanitizers.
# A crash leaves its input as build-fuzz/findings/TARGET/crash-* and the
# script fails; add the input to fuzz/corpus/TARGET once the fault is fixed,
# so that the corpus replay tests keep it fixed.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(load_pixmap stream_read wav_loader ogg_loader font_loader net_packet)
if [ $# -eq 0 ]; then
  printf '%s\n' "${targets[@]}"
  exit 0
fi
target=$1
runs=${2:-10000000}
jobs=${3:-1}
if [[ ! " ${targets[*]} " =~ " $target " ]]; then
  echo "unknown target '$target'; one of: ${targets[*]}" >&2
  exit 2
fi

bash tools/setup.sh
dir=build-fuzz sanitize=ON
if [ "${FUZZ_SANITIZE:-1}" = 0 ]; then dir=build-fuzz-plain sanitize=OFF; fi
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKESTREL_FUZZ=ON -DKESTREL_SANITIZE=$sanitize -DKESTREL_TESTS=OFF -DKESTREL_BENCH=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)" --target "fuzz_$target"

corpus=fuzz/corpus/$target
grown=$dir/grown/$target
findings=$dir/findings/$target
mkdir -p "$grown" "$findings"
options=(-rss_limit_mb=2048 -timeout=10 -print_final_stats=1 -artifact_prefix="$findings/")
[ -f "fuzz/$target.dict" ] && options+=(-dict="fuzz/$target.dict")
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
# libvorbisfile leaks a few bytes of its own on a failed open.
[ "$target" = ogg_loader ] && export LSAN_OPTIONS="suppressions=$PWD/fuzz/audio_lsan.supp:print_suppressions=0"

echo "== fuzz_$target: $runs executions over $jobs process(es)"
start=$(date +%s)
pids=()
for ((j = 0; j < jobs; j++)); do
  "$dir/fuzz/fuzz_$target" "${options[@]}" -runs=$((runs / jobs)) -seed=$((j + 1)) \
    "$grown" "$corpus" >"$findings/job$j.log" 2>&1 &
  pids+=($!)
done
status=0
for p in "${pids[@]}"; do wait "$p" || status=1; done
total=0
for ((j = 0; j < jobs; j++)); do
  n=$(awk '/stat::number_of_executed_units:/ { print $2 }' "$findings/job$j.log" | tail -1)
  total=$((total + ${n:-0}))
done
echo "executed $total inputs in $(( $(date +%s) - start )) s"
if [ $status -ne 0 ]; then
  echo "the fuzzer stopped on a finding; see $findings/" >&2
  tail -40 "$findings/job0.log" >&2
  exit 1
fi

# The committed corpus becomes the smallest set with the same coverage. Hand-made
# seeds (any name that is not the fuzzer's 40-digit hash) always stay: tests
# read some of them. The PNG seeds keep a folder of their own, and what the
# fuzzer grew from them goes to load_pixmap_grown beside it.
merged=$dir/merged/$target
rm -rf "$merged" && mkdir -p "$merged"
is_hash() { [[ $(basename "$1") =~ ^[0-9a-f]{40}$ ]]; }
for f in "$corpus"/*; do is_hash "$f" || cp "$f" "$merged/"; done
sources=("$corpus" "$grown")
[ -d "${corpus}_grown" ] && sources+=("${corpus}_grown")
"$dir/fuzz/fuzz_$target" -merge=1 "${options[@]}" "$merged" "${sources[@]}" \
  >"$findings/merge.log" 2>&1
if [ "$target" = load_pixmap ]; then
  rm -rf "${corpus}_grown" && mkdir -p "${corpus}_grown"
  for f in "$merged"/*; do is_hash "$f" && mv "$f" "${corpus}_grown/"; done
  echo "corpus ${corpus}_grown: $(ls "${corpus}_grown" | wc -l) inputs beside $(ls "$corpus" | wc -l) seeds"
else
  rm -rf "$corpus" && mv "$merged" "$corpus"
  echo "corpus $corpus: $(ls "$corpus" | wc -l) inputs"
fi
