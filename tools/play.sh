#!/usr/bin/env bash
# Sets everything up, builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTREL_TESTS=OFF >/dev/null
cmake --build build --target virexo
exec ./build/game/virexo
