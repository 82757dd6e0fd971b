#!/usr/bin/env bash
# Installs the Debian packages the project needs to build, run and test,
# only those that are missing. Run as root on Debian 12.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libsdl2-dev libpng-dev zlib1g-dev libfreetype-dev libvorbis-dev libogg-dev
  libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  libgtest-dev libgmock-dev libbenchmark-dev
  libenet-dev
  clang
  xvfb xauth xdotool xfonts-base x11-utils imagemagick
  fonts-dejavu-core fonts-dseg
  dpkg-dev desktop-file-utils appstream file libx11-dev
)

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
