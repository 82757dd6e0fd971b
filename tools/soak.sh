#!/usr/bin/env bash
# The full soak run: builds the normal (optimised) build of the soak driver
# and plays a million frames of seeded random play through the real program
# under Xvfb, then prints the report (visits per state, memory at 10/50/100 %,
# frame rate). Exits with the driver's code: 0 when every check held.
#   tools/soak.sh [FRAMES [SEED]]       defaults: 1000000 frames, seed 1
# Environment: BUILD_DIR (default build-soak), NICE (default 10), and
# SOAK_ARGS for more driver options (e.g. "--log-games").
set -euo pipefail
cd "$(dirname "$0")/.."

frames="${1:-1000000}"
seed="${2:-1}"
dir="${BUILD_DIR:-build-soak}"

# Builds share the machine: one at a time, through the common lock.
flock /tmp/kestrel-build.lock cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
flock /tmp/kestrel-build.lock cmake --build "$dir" -j2 --target virexo-soak

# A screen of the game's own size, key auto-repeat off; the audio device is
# absent here and the game falls back to its silent driver.
# The resident set may grow by 8 MB from the 10 % mark to the end (the
# driver's default): by then Mesa's caches are warm (see the README's soak
# section).
exec nice -n "${NICE:-10}" xvfb-run -a -s "-screen 0 1024x768x24 -r -noreset" \
  "$dir/tools/soak/virexo-soak" --frames "$frames" --seed "$seed" ${SOAK_ARGS:-}
