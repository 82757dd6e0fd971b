#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are
# missing. Run as root on Debian 12.
#   setup.sh --play   what building and running the game needs
#   setup.sh --test   that, plus the tools of the test suite, the benchmarks
#                     and the end-to-end runs (the default)
set -euo pipefail

# Compiler, build system and the libraries the game builds against; Mesa's
# drivers that SDL opens at run time for OpenGL.
play=(
  g++ cmake ninja-build pkg-config
  libsdl2-dev libpng-dev zlib1g-dev libfreetype-dev libvorbis-dev libogg-dev libenet-dev
  libsamplerate0-dev
  libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0
)
# Test frameworks and benchmarks, and ccache for rebuilds; clang for the fuzz targets; an X server,
# input and screenshots for the window and end-to-end tests; the fonts the
# asset generator draws with; the packaging checks; a sound server with its
# recorder and sox for the end-to-end sound test; Doxygen for the reference
# and Python for its cheatsheet.
test=(
  libgtest-dev libgmock-dev libbenchmark-dev ccache
  clang
  xvfb xauth xdotool xfonts-base x11-utils imagemagick openbox
  fonts-dejavu-core fonts-dseg
  dpkg-dev desktop-file-utils appstream file libx11-dev
  pulseaudio pulseaudio-utils sox
  doxygen python3
)

case "${1:---test}" in
  --play) packages=("${play[@]}") ;;
  --test) packages=("${play[@]}" "${test[@]}") ;;
  *) echo "usage: $0 [--play|--test]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
