#!/usr/bin/env bash
# Installs the toolkit of a build into a scratch prefix, checks what lands
# there, builds every example (and the README's first program) out of tree
# against it, once with find_package(Kestrel) and once with pkg-config, and
# runs each for a few frames on the X display with a screenshot check (and,
# for the sound example, a recording of what it played).
#   tools/examples.sh [BUILD_DIR]     (default: build); needs $DISPLAY
set -uo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
cxx=${CXX:-c++}
examples="hello_window input sound animation pixmaps fonts embedded_files"

# --- the installed package ---------------------------------------------------
prefix=$work/prefix
if ! log=$(cmake --install "$build" --prefix "$prefix" --component kestrel_dev 2>&1); then
  echo "$log"; echo "FAIL: cmake --install --component kestrel_dev"; exit 1
fi
for f in include/kestrel/kestrel.h include/kestrel/keys.h include/kestrel/version.h \
         include/kestrel/sdl/startup.h lib/libkestrel_core.a lib/libkestrel_startup.a \
         lib/cmake/Kestrel/KestrelConfig.cmake lib/cmake/Kestrel/KestrelEmbed.cmake \
         lib/pkgconfig/kestrel.pc share/doc/libkestrel-dev/copyright; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done
# Internal headers stay out; installed headers include only kestrel/ ones.
for f in graphics/gl_context.h graphics/gl_lumo2d_driver.h core/fault_report.h audio/softmix_engine.h; do
  [ -e "$prefix/include/kestrel/$f" ] && fail "internal header installed: $f"
done
grep -rl '#include "toolkit/' "$prefix/include" && fail "installed headers include toolkit/ paths"
grep -q '^#define KESTREL_VERSION_MAJOR [0-9]' "$prefix/include/kestrel/version.h" || fail "no version in version.h"
# Users get no warning flags and no folder of this repository or build.
grep -E -- '-Wall|-Wextra' "$prefix"/lib/cmake/Kestrel/*.cmake "$prefix/lib/pkgconfig/kestrel.pc" &&
  fail "the package passes warning flags to its users"
grep -F -e "$src" -e "$build" "$prefix"/lib/cmake/Kestrel/KestrelTargets*.cmake "$prefix/lib/pkgconfig/kestrel.pc" &&
  fail "the package names a folder of the source or build tree"

# The README's first program, exactly as printed (between its markers).
readme_program=$work/readme_hello.cpp
sed -n '/<!-- readme-program -->/,/<!-- end readme-program -->/p' "$src/README.md" |
  sed -n '/^```cpp$/,/^```$/p' | sed '1d;$d' > "$readme_program"
[ -s "$readme_program" ] || fail "no program between the README's markers"

# Another project takes the toolkit in with add_subdirectory (configured only:
# the build of the same sources is the one installed above).
mkdir -p "$work/sub"
cat >"$work/sub/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.25)
project(uses_kestrel CXX)
add_subdirectory("$src/toolkit" kestrel)
add_executable(hello "$readme_program")
target_link_libraries(hello PRIVATE Kestrel::Kestrel)
CMAKE
if ! log=$(cmake -S "$work/sub" -B "$work/sub/build" -G Ninja 2>&1); then
  echo "$log"; fail "add_subdirectory(toolkit) from another project does not configure"
fi
# The toolkit alone.
if ! log=$(cmake -S "$src/toolkit" -B "$work/alone" -G Ninja 2>&1); then
  echo "$log"; fail "cmake -S toolkit does not configure"
fi
# Neither hands the repository root to its users.
grep -q -- "-I$src " "$work/sub/build/build.ninja" && fail "a user of add_subdirectory(toolkit) sees the repository root"

# --- builds -----------------------------------------------------------------
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
cmake_dir=$work/cmake
if ! log=$(cmake -S "$src/examples" -B "$cmake_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
             -DCMAKE_PREFIX_PATH="$prefix" 2>&1 && cmake --build "$cmake_dir" -j 2 2>&1); then
  echo "$log"; fail "find_package build of the examples"
fi
pc_dir=$work/pkgconfig
mkdir -p "$pc_dir"
flags=$(pkg-config --cflags --libs kestrel) || fail "pkg-config --libs kestrel"
for e in $examples; do
  "$cxx" -std=c++20 -O1 -DKESTREL_EXAMPLE_DATA="\"$src/assets\"" "$src/examples/$e.cpp" \
    $flags -o "$pc_dir/$e" || fail "pkg-config build of $e"
done
"$cxx" -std=c++20 "$readme_program" $(pkg-config --cflags --libs kestrel) -o "$pc_dir/readme_hello" ||
  fail "the README program does not build as printed"
echo "built the examples with find_package and with pkg-config"

# --- runs -------------------------------------------------------------------
# A screenshot of one colour means nothing was drawn.
colours() { /usr/bin/identify -format '%k' "$1" 2>/dev/null || echo 0; }
run_example() {  # dir name
  local exe=$1/$2 shot=$work/$(basename "$1")-$2.png raw=$work/$(basename "$1")-$2.raw
  rm -f "$shot" "$raw"
  # In the scratch folder: the pixmap example saves a file where it runs.
  if ! (cd "$work" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$raw SDL_DISKAUDIODELAY=0 \
       timeout 60 "$exe" --frames 40 --shot "$shot") >"$work/out" 2>&1; then
    cat "$work/out"; fail "$exe did not end cleanly"; return
  fi
  grep -q 'kestrel: ' "$work/out" && { cat "$work/out"; fail "$exe was warned"; }
  [ -f "$shot" ] || { fail "$exe wrote no screenshot"; return; }
  local n; n=$(colours "$shot")
  [ "$n" -ge 2 ] || fail "$exe drew nothing ($n colours)"
  if [ "$2" = pixmaps ]; then
    [ "$(colours "$work/grey.png")" -ge 2 ] || fail "$exe saved no grey picture"
  fi
  if [ "$2" = sound ]; then
    # The recording holds sound, not only the leading buffer of silence.
    [ "$(tr -d '\000' <"$raw" | wc -c)" -gt 1000 ] || fail "$exe played nothing"
  fi
}
for e in $examples; do
  run_example "$cmake_dir" "$e"
  run_example "$pc_dir" "$e"
done
# The README program runs until Escape.
SDL_AUDIODRIVER=dummy "$pc_dir/readme_hello" & pid=$!
if wid=$(timeout 20 xdotool search --sync --name "Kestrel Application" 2>/dev/null | head -1) && [ -n "$wid" ]; then
  sleep 0.5
  xdotool windowfocus --sync "$wid" key Escape 2>/dev/null
fi
( sleep 20; kill "$pid" 2>/dev/null ) & watchdog=$!
wait "$pid"; status=$?
kill "$watchdog" 2>/dev/null
[ "$status" -eq 0 ] || fail "the README program ended with $status instead of 0 on Escape"

if [ "$failures" -gt 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "examples: installed package checked, $(echo $examples | wc -w) examples built two ways and run, README program ran"
