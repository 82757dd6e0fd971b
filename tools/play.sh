#!/usr/bin/env bash
# Installs what the game needs to build and run (nothing for the tests),
# builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh --play
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTREL_TESTS=OFF -DKESTREL_BENCH=OFF >/dev/null
cmake --build build --target virexo
exec ./build/game/virexo
