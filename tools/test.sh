#!/usr/bin/env bash
# Sets everything up, builds and runs the whole test suite.
#   tools/test.sh          the normal build, in build-test/
#   tools/test.sh --asan   AddressSanitizer + UndefinedBehaviorSanitizer, in build-asan/
#   tools/test.sh --tsan   ThreadSanitizer, in build-tsan/
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh --test

dir=build-test
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
# The end-to-end runs of the real executable are left out of sanitizer runs:
# they drive a window at a person's pace, and the unit and harness tests
# cover the same code under the sanitizers.
select=()
case "${1:-}" in
  --asan) dir=build-asan; flags=(-DCMAKE_BUILD_TYPE=Debug -DKESTREL_SANITIZE=ON -DKESTREL_BENCH=OFF); select=(-LE e2e) ;;
  --tsan) dir=build-tsan; flags=(-DCMAKE_BUILD_TYPE=Debug -DKESTREL_TSAN=ON -DKESTREL_BENCH=OFF); select=(-LE e2e) ;;
  "") ;;
  *) echo "usage: $0 [--asan|--tsan]" >&2; exit 2 ;;
esac

# Rebuilds reuse earlier compiles through ccache (paths taken relative to
# this checkout, so another clone of it hits the same cache).
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
  flags+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
# Under the sanitizers the programs that open a display play into SDL's
# dummy sound device. With no device, the search for one loads and unloads
# each sound server's client library in turn, and LeakSanitizer's end-of-run
# scan then trips over the thread-local storage those libraries left behind
# (its tracer faults). The search itself keeps its own test, which clears
# this variable and runs under the sanitizers too.
if [ "$dir" = build-asan ]; then export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"; fi
# Mesa's shader cache writes from a thread of its own, which its exit handler
# ends while the process exits: a thread ending during LeakSanitizer's scan
# makes the scan read a bad range (its tracer faults, once in some twenty
# runs of a test that draws). Without the cache no thread ends that late.
if [ "$dir" != build-test ]; then export MESA_SHADER_CACHE_DISABLE=true; fi
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# The tests that open windows need an X display; Xvfb gives one of the
# game's own size (it cannot change modes), with key auto-repeat off and no
# server reset when the last client leaves (a test starting during a reset
# could not connect).
xvfb-run -a -s "-screen 0 1024x768x24 -r -noreset" \
  ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" "${select[@]}"
