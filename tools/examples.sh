#!/usr/bin/env bash
# The toolkit as a game author gets it: a copy of toolkit/ alone (under
# another name, nothing of the repository beside it) is configured, built,
# installed and packaged by itself; every example (and the README's first
# program) is built against that install, once with find_package(Kestrel)
# and once with pkg-config, and once more with the copy taken in by
# add_subdirectory as shared libraries; the programs run for a few frames on
# the X display with a screenshot check (and, for the sound example, a
# recording of what it played).
#   tools/examples.sh [BUILD_DIR]     (default: build); needs $DISPLAY
# BUILD_DIR is a build of the whole repository: the scratch folder lives in
# it (a stable path, so ccache finds the copy's objects again), and its
# toolkit install is checked to hold the same files as the copy's.
set -uo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
work=$build/examples-check
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
cxx=${CXX:-c++}
examples="hello_window input sound animation pixmaps fonts embedded_files app_data"
started=$SECONDS
lap() { echo "[$((SECONDS - started)) s] $*"; }

# The copy is built without debug information and, where ccache is
# installed, through it (its objects do not depend on the scratch path).
cmake_args=(-G Ninja -DCMAKE_BUILD_TYPE=Release)
if command -v ccache >/dev/null; then
  cmake_args+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# --- the toolkit folder alone ------------------------------------------------
copy=$work/kestrel-copy
cp -r "$src/toolkit" "$copy"
alone=$work/alone
prefix=$work/prefix
if ! log=$(cmake -S "$copy" -B "$alone" "${cmake_args[@]}" 2>&1); then
  echo "$log"; echo "FAIL: cmake -S <copy of toolkit/> does not configure"; exit 1
fi
if ! log=$(cmake --build "$alone" -j 2 2>&1); then
  echo "$log"; echo "FAIL: the copy of toolkit/ does not build"; exit 1
fi
if ! log=$(cmake --install "$alone" --prefix "$prefix" 2>&1); then
  echo "$log"; echo "FAIL: cmake --install of the copy of toolkit/"; exit 1
fi
lap "toolkit copy configured, built and installed"

# Its reference builds from the copy too (guide as the main page, no entry
# without a text).
if command -v doxygen >/dev/null; then
  if ! log=$(cmake --build "$alone" --target kestrel_docs 2>&1); then
    echo "$log"; fail "the reference does not build from the copy of toolkit/"
  fi
  grep -q '<title>Kestrel: The Kestrel guide' "$alone/docs/html/index.html" 2>/dev/null ||
    fail "the reference's main page is not the guide"
fi

# cpack in the toolkit's own build makes libkestrel-dev and nothing else,
# with the toolkit's own description.
if log=$(cd "$alone" && cpack -G DEB 2>&1); then
  debs=$(cd "$alone" && ls *.deb 2>/dev/null)
  [ "$debs" = "libkestrel-dev_0.1.0_$(dpkg --print-architecture).deb" ] ||
    fail "cpack of the toolkit made: ${debs:-nothing}"
  deb=$alone/$(head -1 <<<"$debs")
  if [ -f "$deb" ]; then
    [ "$(dpkg-deb -f "$deb" Package)" = libkestrel-dev ] || fail "the package is not libkestrel-dev"
    [ "$(dpkg-deb -f "$deb" Section)" = libdevel ] || fail "libkestrel-dev is not in libdevel"
    description=$(dpkg-deb -f "$deb" Description)
    head -1 <<<"$description" | grep -q '^Kestrel 2D game toolkit' ||
      fail "libkestrel-dev's synopsis is: $(head -1 <<<"$description")"
    grep -qi 'arcade\|puzzle\|virus' <<<"$description" && fail "libkestrel-dev describes the game"
    contents=$(dpkg-deb -c "$deb")
    for f in usr/include/kestrel/kestrel.h usr/lib/libkestrel_core.a usr/lib/pkgconfig/kestrel.pc \
             usr/lib/cmake/Kestrel/KestrelConfig.cmake usr/share/doc/libkestrel-dev/copyright; do
      grep -q " \./$f\$" <<<"$contents" || fail "libkestrel-dev lacks $f"
    done
  fi
else
  echo "$log"; fail "cpack in the toolkit's own build"
fi
lap "libkestrel-dev packaged"

# --- the installed package ---------------------------------------------------
for f in include/kestrel/kestrel.h include/kestrel/keys.h include/kestrel/version.h \
         include/kestrel/sdl/startup.h lib/libkestrel_core.a lib/libkestrel_startup.a \
         lib/cmake/Kestrel/KestrelConfig.cmake lib/cmake/Kestrel/KestrelEmbed.cmake \
         lib/pkgconfig/kestrel.pc share/doc/libkestrel-dev/copyright share/doc/libkestrel-dev/LICENSE; do
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
# Both ways of using the package carry the C++20 requirement.
grep -q -- '^Cflags: -std=c++20 ' "$prefix/lib/pkgconfig/kestrel.pc" || fail "kestrel.pc does not ask for C++20"
grep -q 'INTERFACE_COMPILE_FEATURES "cxx_std_20"' "$prefix/lib/cmake/Kestrel/KestrelTargets.cmake" ||
  fail "the CMake targets do not ask for C++20"
# The whole repository's build installs the same toolkit files.
if [ -f "$build/CMakeCache.txt" ]; then
  if log=$(cmake --install "$build" --prefix "$work/prefix-repo" --component kestrel_dev 2>&1); then
    # (the exported targets' file is named after the build type)
    files() { (cd "$1" && find . | sed 's|KestrelTargets-[a-z]*\.cmake$|KestrelTargets-<type>.cmake|' | sort); }
    if ! d=$(diff <(files "$prefix") <(files "$work/prefix-repo")); then
      fail "the repository's build installs other toolkit files than toolkit/ alone (< alone, > repository):"
      echo "$d"
    fi
  else
    echo "$log"; fail "cmake --install $build --component kestrel_dev"
  fi
fi

# The README's first program, exactly as printed (between its markers).
readme_program=$work/readme_hello.cpp
sed -n '/<!-- readme-program -->/,/<!-- end readme-program -->/p' "$src/README.md" |
  sed -n '/^```cpp$/,/^```$/p' | sed '1d;$d' > "$readme_program"
[ -s "$readme_program" ] || fail "no program between the README's markers"

# --- builds against the install ------------------------------------------------
cmake_dir=$work/cmake
if ! log=$(cmake -S "$src/examples" -B "$cmake_dir" "${cmake_args[@]}" -DCMAKE_PREFIX_PATH="$prefix" 2>&1 &&
           cmake --build "$cmake_dir" -j 2 2>&1); then
  echo "$log"; fail "find_package build of the examples"
fi
# No -std option of our own: kestrel.pc brings it.
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
pc_dir=$work/pkgconfig
mkdir -p "$pc_dir"
flags=$(pkg-config --cflags --libs kestrel) || fail "pkg-config --libs kestrel"
for e in $examples; do
  "$cxx" -O1 -DKESTREL_EXAMPLE_DATA="\"$src/assets\"" "$src/examples/$e.cpp" \
    $flags -o "$pc_dir/$e" || fail "pkg-config build of $e"
done
# The app_data example reads its board beside its executable (through AppDir).
cp -r "$src/examples/data" "$pc_dir/"
"$cxx" "$readme_program" $(pkg-config --cflags --libs kestrel) -o "$pc_dir/readme_hello" ||
  fail "the README program does not build as printed"
lap "examples built with find_package and with pkg-config"

# --- the copy taken in by add_subdirectory, as shared libraries ----------------
sub=$work/sub
shared=$work/prefix-shared
if ! log=$(cmake -S "$src/examples" -B "$sub" "${cmake_args[@]}" -DKESTREL_SOURCE_DIR="$copy" \
             -DBUILD_SHARED_LIBS=ON 2>&1 && cmake --build "$sub" -j 2 2>&1); then
  echo "$log"; fail "add_subdirectory build of the examples (shared libraries)"
fi
# The toolkit's sources see neither the repository nor the copy's parent.
grep -q -e "-I$src " -e "-I$work " "$sub/build.ninja" && fail "add_subdirectory(toolkit) hands a parent folder to the compiler"
if ! log=$(cmake --install "$sub" --prefix "$shared" 2>&1); then
  echo "$log"; fail "cmake --install of the shared build"
fi
# Versioned sonames; a program linked with pkg-config runs without
# LD_LIBRARY_PATH (the libraries find each other beside them).
for lib in core graphics startup; do
  so=$shared/lib/libkestrel_$lib.so
  soname=$(readelf -d "$so" 2>/dev/null | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
  [ "$soname" = "libkestrel_$lib.so.0.1" ] || fail "libkestrel_$lib.so has the soname '${soname}'"
  [ -f "$shared/lib/libkestrel_$lib.so.0.1.0" ] || fail "libkestrel_$lib.so.0.1.0 not installed"
done
shared_readme=$work/readme_hello_shared
"$cxx" "$readme_program" $(PKG_CONFIG_PATH=$shared/lib/pkgconfig pkg-config --cflags --libs kestrel) \
  -o "$shared_readme" || fail "the README program does not build against the shared libraries"
if libs=$(env -u LD_LIBRARY_PATH ldd "$shared_readme" 2>&1); then
  grep 'not found' <<<"$libs" && fail "the shared build's program misses libraries"
  grep -q "libkestrel_core.so.0.1 => $shared/lib/" <<<"$libs" ||
    fail "the program does not find libkestrel_core.so.0.1 where it is installed"
else
  echo "$libs"; fail "ldd of the shared build's program"
fi
lap "examples built with add_subdirectory and shared libraries"

# --- runs -------------------------------------------------------------------
# A screenshot of one colour means nothing was drawn.
colours() { /usr/bin/identify -format '%k' "$1" 2>/dev/null || echo 0; }
run_example() {  # dir name
  local exe=$1/$2 shot=$work/$(basename "$1")-$2.png raw=$work/$(basename "$1")-$2.raw
  rm -f "$shot" "$raw" "$work/grey.png"
  # In the scratch folder: the pixmap example saves a file where it runs.
  if ! (cd "$work" && env -u LD_LIBRARY_PATH SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$raw SDL_DISKAUDIODELAY=0 \
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
  run_example "$sub" "$e"
done
lap "examples ran"
# The README program (the shared build) runs until Escape.
env -u LD_LIBRARY_PATH SDL_AUDIODRIVER=dummy "$shared_readme" & pid=$!
if wid=$(timeout 20 xdotool search --sync --name "Kestrel Application" 2>/dev/null | head -1) && [ -n "$wid" ]; then
  sleep 0.5
  xdotool windowfocus --sync "$wid" key Escape 2>/dev/null
fi
( sleep 20; kill "$pid" 2>/dev/null ) & watchdog=$!
wait "$pid"; status=$?
kill "$watchdog" 2>/dev/null
[ "$status" -eq 0 ] || fail "the README program ended with $status instead of 0 on Escape"

if [ "$failures" -gt 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "examples: toolkit/ alone built, installed and packaged; $(echo $examples | wc -w) examples built three ways" \
     "(find_package, pkg-config, add_subdirectory with shared libraries) and run; README program ran"
