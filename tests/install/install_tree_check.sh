#!/usr/bin/env bash
# Installs the game of a build into a scratch prefix and checks what lands
# there (the toolkit is checked by tools/examples.sh).
#   install_tree_check.sh CMAKE BUILD_DIR SOURCE_DIR VERSION
# Exit 0: all checks passed; 1: a check failed; 77: the file checks passed
# but a validator (desktop-file-validate, appstreamcli) is not installed.
set -uo pipefail
cmake=$1 build=$2 src=$3 version=$4
sizes="16 22 24 32 48 64 128 256"

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

unset DESTDIR
if ! log=$("$cmake" --install "$build" --prefix "$prefix" --component virexo 2>&1); then
  echo "$log"
  echo "FAIL: cmake --install failed"; exit 1
fi

# Exactly these files and nothing else (no libraries, headers, tests, tools).
expected=$(
  echo bin/virexo
  echo share/applications/virexo.desktop
  echo share/doc/virexo/copyright
  echo share/doc/virexo/led.ttf.LICENSE.txt
  for n in $sizes; do echo "share/icons/hicolor/${n}x${n}/apps/virexo.png"; done
  echo share/metainfo/virexo.metainfo.xml
)
actual=$(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||')
if ! differences=$(diff <(sort <<<"$expected") <(sort <<<"$actual")); then
  fail "installed files differ from the expected list (< expected, > installed):"
  echo "$differences"
fi

# The program: an executable ELF file.
exe=$prefix/bin/virexo
[ -x "$exe" ] || fail "bin/virexo is not executable"
[ "$(head -c 4 "$exe" 2>/dev/null | od -An -tx1 | tr -d ' ')" = "7f454c46" ] ||
  fail "bin/virexo is not an ELF file"

# Icons: the committed pictures, each as large as its folder says (the PNG
# header's width and height, big-endian at bytes 16..23).
for n in $sizes; do
  icon=$prefix/share/icons/hicolor/${n}x${n}/apps/virexo.png
  [ -f "$icon" ] || continue
  cmp -s "$icon" "$src/assets/icons/hicolor/${n}x${n}/apps/virexo.png" ||
    fail "icon ${n}x${n} differs from the committed one"
  dims=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}')
  [ "$dims" = "${n}x${n}" ] || fail "icon in ${n}x${n} is $dims"
done

# The copyright file names every licence it uses and holds each text.
copyright=$prefix/share/doc/virexo/copyright
for lic in Zlib bitstream-vera OFL-1.1; do
  grep -qx "License: $lic" "$copyright" || fail "copyright file lacks the $lic licence text"
done
cmp -s "$copyright" "$src/packaging/copyright" || fail "installed copyright differs from packaging/copyright"

# The desktop entry names the installed program and icon.
desktop=$prefix/share/applications/virexo.desktop
grep -qx 'Exec=virexo' "$desktop" || fail "the desktop entry does not run virexo"
grep -qx 'Icon=virexo' "$desktop" || fail "the desktop entry does not use the virexo icon"
# The metadata carries the project's version and launches that entry.
meta=$prefix/share/metainfo/virexo.metainfo.xml
grep -q "<release version=\"$version\"" "$meta" || fail "metainfo release is not $version"
grep -q '<launchable type="desktop-id">virexo.desktop</launchable>' "$meta" ||
  fail "metainfo does not launch virexo.desktop"

skipped=""
if command -v desktop-file-validate >/dev/null; then
  if out=$(desktop-file-validate "$desktop" 2>&1); then
    [ -z "$out" ] || echo "desktop-file-validate (hints): $out"
  else
    fail "desktop-file-validate: $out"
  fi
else
  skipped+=" desktop-file-validate (package desktop-file-utils)"
fi
if command -v appstreamcli >/dev/null; then
  out=$(appstreamcli validate --no-net "$meta" 2>&1) || fail "appstreamcli validate: $out"
else
  skipped+=" appstreamcli (package appstream)"
fi

if [ "$failures" -gt 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "install tree: $(wc -l <<<"$actual") files as expected"
if [ -n "$skipped" ]; then
  echo "SKIPPED validation, not installed:$skipped"
  exit 77
fi
echo "desktop entry and AppStream metadata valid"
