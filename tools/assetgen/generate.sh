#!/usr/bin/env bash
# Regenerates every file under assets/ (pictures, sounds, music, the
# application icon at every hicolor size under assets/icons/) and the
# toolkit's two 8 × 16 bitmap fonts (toolkit/graphics/fonts/), and copies the
# LED font with its licence. Writes a contact
# sheet of all pictures to tools/assetgen/contact_sheet.png.
#   bash tools/assetgen/generate.sh [--only-images]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build-art/assetgen-standalone
cmake -S tools/assetgen -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
flock /tmp/kestrel-build.lock cmake --build "$build"
"$build/assetgen" assets --fonts toolkit/graphics/fonts --sheet tools/assetgen/contact_sheet.png "$@"
# The timer font: DSEG7 Classic Bold from Debian's fonts-dseg (SIL OFL 1.1).
cp /usr/share/fonts/truetype/dseg/DSEG7Classic-Bold.ttf assets/gfx/led.ttf
cp tools/assetgen/OFL-DSEG.txt assets/gfx/led.ttf.LICENSE.txt
