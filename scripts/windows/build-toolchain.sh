#!/usr/bin/env bash
# Builds everything the Windows (x86-64) build of the program links against, from Debian's own
# packages and source packages only: MinGW-w64 from the archive, then Qt 6.4.2 (the version of the
# Linux build, cross-built with the installed Linux Qt as its host), SDL2, SDL2_mixer, libqrencode,
# libxlsxwriter, FreeXL, libmicrohttpd and googletest, all installed into one prefix outside the
# repository.
#
#   KAVREL_WIN_PREFIX  where it all goes (default ~/.cache/kavrel-win64)
#   JOBS               parallel compile jobs (default 2)
#
# Resumable: a finished step leaves $PREFIX/.done/<step> and is skipped next time (delete the file
# to redo it); a step stopped half-way picks up where Ninja left off. Each step logs to
# $PREFIX/logs/<step>.log; the time each step took is appended to $PREFIX/logs/times.txt.
# A failed step does not stop the steps that don't need it; the script exits non-zero at the end.
# Run it in the background, it takes hours on two cores:
#   nice -n 19 bash scripts/windows/build-toolchain.sh > ~/.cache/kavrel-win64.log 2>&1 &
set -uo pipefail

HERE=${KAVREL_TOOLCHAIN_HERE:-$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)}
# Bash reads a script while running it: run from a copy, so this file can be edited during the hours
# the build takes.
if [ -z "${KAVREL_TOOLCHAIN_HERE:-}" ]; then
  copy=$(mktemp "${TMPDIR:-/tmp}/kavrel-build-toolchain.XXXXXX")
  cp "${BASH_SOURCE[0]}" "$copy"
  KAVREL_TOOLCHAIN_HERE=$HERE KAVREL_TOOLCHAIN_COPY=$copy exec bash "$copy" "$@"
fi
[ -n "${KAVREL_TOOLCHAIN_COPY:-}" ] && trap 'rm -f "$KAVREL_TOOLCHAIN_COPY"' EXIT
PREFIX=${KAVREL_WIN_PREFIX:-$HOME/.cache/kavrel-win64}
JOBS=${JOBS:-2}
TRIPLE=x86_64-w64-mingw32
TOOLCHAIN=$HERE/mingw-w64-x86_64.cmake
SRC=$PREFIX/src
BLD=$PREFIX/build
LOGS=$PREFIX/logs
DONE=$PREFIX/.done
HOST_QT_CMAKE=/usr/lib/x86_64-linux-gnu/cmake

export KAVREL_WIN_PREFIX=$PREFIX
export PKG_CONFIG_LIBDIR=$PREFIX/lib/pkgconfig
export PKG_CONFIG_PATH=
mkdir -p "$SRC" "$BLD" "$LOGS" "$DONE" "$PREFIX/lib/pkgconfig" "$PREFIX/include" "$PREFIX/bin"

failed=()

# step NAME [NEEDS...]: runs step_NAME unless done, or skips it when a step it needs has not finished.
step() {
  local name=$1
  shift
  if [ -e "$DONE/$name" ]; then
    echo "[skip] $name (done)"
    return 0
  fi
  local need
  for need in "$@"; do
    if [ ! -e "$DONE/$need" ]; then
      echo "[wait] $name: needs $need, which has not finished"
      failed+=("$name")
      return 0
    fi
  done
  # One run per step at a time: a second run (say, to redo a small library while qtbase builds)
  # passes over a step that another run is building.
  exec {lock}>"$DONE/.$name.lock"
  if ! flock -n "$lock"; then
    echo "[busy] $name: another run is building it"
    exec {lock}>&-
    failed+=("$name")
    return 0
  fi
  echo "[run ] $name  (log: $LOGS/$name.log)  $(date +%H:%M:%S)"
  local start=$SECONDS
  # Not inside an `if`: there errexit would be off in the subshell too.
  (set -euxo pipefail; "step_${name//-/_}") >"$LOGS/$name.log" 2>&1
  local rc=$?
  if [ $rc -eq 0 ]; then
    touch "$DONE/$name"
    echo "$name $((SECONDS - start))s $(date -Is)" >>"$LOGS/times.txt"
    echo "[done] $name in $((SECONDS - start)) s"
  else
    echo "[FAIL] $name after $((SECONDS - start)) s, last lines of $LOGS/$name.log:"
    tail -n 15 "$LOGS/$name.log" | sed 's/^/       /'
    failed+=("$name")
  fi
  exec {lock}>&-
}

# source_dir PKG: the unpacked Debian source of PKG, fetched with `apt-get source` the first time.
# When the archive serves the upstream tarball but not the Debian part, the upstream tarball is
# unpacked as it is (the log says so).
source_dir() {
  local pkg=$1 mark="$SRC/.$1.dir"
  if [ -s "$mark" ] && [ -d "$(cat "$mark")" ]; then
    cat "$mark"
    return 0
  fi
  local before after dir fetch
  # One fetch at a time in the source folder, even from two runs: the new folder is told by what
  # appeared, and another package unpacking meanwhile would be taken for this one.
  exec {fetch}>"$SRC/.fetch.lock"
  flock "$fetch"
  if [ -s "$mark" ] && [ -d "$(cat "$mark")" ]; then
    cat "$mark"
    return 0
  fi
  before=$(ls -d "$SRC"/*/ 2>/dev/null | sort)
  if (cd "$SRC" && apt-get source -q "$pkg" >&2); then
    after=$(ls -d "$SRC"/*/ 2>/dev/null | sort)
    dir=$(comm -13 <(echo "$before") <(echo "$after") | head -n 1)
    # Unpacked by an earlier run that stopped before it noted the folder: apt-get keeps it as it is.
    [ -n "$dir" ] || dir=$(ls -d "$SRC/$pkg"-[0-9]*/ 2>/dev/null | head -n 1)
  else
    echo "apt-get source $pkg failed; trying the upstream tarball alone" >&2
    local uri orig=""
    for uri in $(cd "$SRC" && apt-get source -q --print-uris "$pkg" | awk -F"'" '$2 ~ /^http.*orig/ {print $2}'); do
      curl -fsSL -o "$SRC/$(basename "$uri")" "$uri" && orig="$SRC/$(basename "$uri")"
    done
    # apt-get source keeps the files it could fetch.
    [ -n "$orig" ] || orig=$(ls "$SRC/${pkg}"_*.orig.tar.* 2>/dev/null | head -n 1)
    [ -n "$orig" ] || { echo "the archive serves no source of $pkg here" >&2; return 1; }
    mkdir -p "$SRC/$pkg-orig"
    tar -xf "$orig" -C "$SRC/$pkg-orig" --strip-components=1
    echo "unpacked $orig without Debian's patches" >&2
    dir="$SRC/$pkg-orig/"
  fi
  [ -n "$dir" ] || return 1
  echo "${dir%/}" >"$mark"
  echo "${dir%/}"
}

# cmake_build NAME SOURCE [CMAKE ARGS...]: configure, build and install one CMake project.
cmake_build() {
  local name=$1 src=$2
  shift 2
  cmake -S "$src" -B "$BLD/$name" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DKAVREL_WIN_PREFIX="$PREFIX" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" -DCMAKE_PREFIX_PATH="$PREFIX" "$@"
  nice -n 19 cmake --build "$BLD/$name" -j "$JOBS"
  cmake --install "$BLD/$name"
}

# A Qt module on top of the cross-built qtbase.
qt_module() {
  local name=$1 src=$2
  shift 2
  cmake -S "$src" -B "$BLD/$name" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PREFIX/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF "$@"
  nice -n 19 cmake --build "$BLD/$name" -j "$JOBS"
  cmake --install "$BLD/$name"
}

step_host_packages() {
  local pkgs=(g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev dpkg-dev curl cmake ninja-build
    pkg-config perl qt6-base-dev qt6-base-dev-tools qt6-shader-baker qt6-shadertools-dev nsis wine64 wine)
  local missing=() p
  for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

# deb-src entries for the suites the machine already installs from, so `apt-get source` fetches the
# sources of exactly the binaries installed here.
step_deb_src() {
  if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
        >/etc/apt/sources.list.d/kavrel-deb-src.sources
    else
      grep '^deb ' /etc/apt/sources.list | grep debian | sed 's/^deb /deb-src /' \
        >/etc/apt/sources.list.d/kavrel-deb-src.list
    fi
  fi
  apt-get update -q
}

step_iconv() {
  "$TRIPLE-gcc-posix" -O2 -Wall -c "$HERE/iconv-shim.c" -I"$HERE" \
    -o "$BLD/iconv-shim.o"
  rm -f "$PREFIX/lib/libiconv.a"
  "$TRIPLE-ar" rcs "$PREFIX/lib/libiconv.a" "$BLD/iconv-shim.o"
  cp "$HERE/iconv-shim.h" "$PREFIX/include/iconv.h"
  # FreeXL also wants locale_charset() from libcharset: the same object answers it.
  cp "$PREFIX/lib/libiconv.a" "$PREFIX/lib/libcharset.a"
  printf '#include <iconv.h>\n' >"$PREFIX/include/localcharset.h"
}

step_qrencode() {
  local src
  src=$(source_dir qrencode)
  cmake_build qrencode "$src" -DWITH_TOOLS=NO -DWITH_TESTS=NO -DBUILD_SHARED_LIBS=ON
}

# The prize pictures' PNG decoder (read row by row into the shown size).
step_libpng() {
  local src
  src=$(source_dir libpng1.6)
  cmake_build libpng "$src" -DPNG_SHARED=ON -DPNG_STATIC=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
}

step_xlsxwriter() {
  local src
  src=$(source_dir libxlsxwriter)
  cmake_build xlsxwriter "$src" -DBUILD_SHARED_LIBS=ON -DUSE_SYSTEM_MINIZIP=OFF -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF
}

step_freexl() {
  local src
  src=$(source_dir freexl)
  rm -rf "$BLD/freexl" && mkdir -p "$BLD/freexl"
  cd "$BLD/freexl"
  "$src/configure" --host="$TRIPLE" --prefix="$PREFIX" --disable-shared --enable-static \
    CC="$TRIPLE-gcc-posix" CPPFLAGS="-I$PREFIX/include" LDFLAGS="-L$PREFIX/lib"
  nice -n 19 make -j "$JOBS"
  make install
  # Static library: whoever links freexl links the iconv shim too.
  sed -i '/^Libs:/ s/$/ -liconv/' "$PREFIX/lib/pkgconfig/freexl.pc"
}

step_sdl2() {
  local src
  src=$(source_dir libsdl2)
  cmake_build sdl2 "$src" -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL_TESTS=OFF
}

# Music: MP3 through the bundled dr_mp3, WAV, Ogg through stb_vorbis, MIDI through Windows' own synth
# (no FluidSynth and its GLib on Windows).
step_sdl2_mixer() {
  local src
  src=$(source_dir libsdl2-mixer)
  cmake_build sdl2-mixer "$src" -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_CMD=OFF \
    -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_WAVPACK=OFF \
    -DSDL2MIXER_VORBIS=STB -DSDL2MIXER_MP3=ON -DSDL2MIXER_MP3_DRMP3=ON -DSDL2MIXER_MP3_MPG123=OFF \
    -DSDL2MIXER_MIDI=ON -DSDL2MIXER_MIDI_NATIVE=ON -DSDL2MIXER_MIDI_FLUIDSYNTH=OFF -DSDL2MIXER_MIDI_TIMIDITY=OFF
}

# The phone pages' web server (libmicrohttpd-12.dll). Plain HTTP on the venue's network, so no TLS
# (no GnuTLS to cross-build); poll is required, since winsock's select holds 64 sockets by default and
# a hall keeps 1,500 connections open.
step_libmicrohttpd() {
  local src
  src=$(source_dir libmicrohttpd)
  rm -rf "$BLD/libmicrohttpd" && mkdir -p "$BLD/libmicrohttpd"
  cd "$BLD/libmicrohttpd"
  "$src/configure" --host="$TRIPLE" --prefix="$PREFIX" --enable-shared --disable-static --disable-https \
    --disable-curl --disable-doc --disable-examples --enable-poll=yes CC="$TRIPLE-gcc-posix"
  nice -n 19 make -j "$JOBS"
  make install
}

step_googletest() {
  local src
  src=$(source_dir googletest)
  cmake_build googletest "$src" -DBUILD_SHARED_LIBS=OFF -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
}

# qtbase: only what the program uses (core, gui, widgets, printing, network, concurrent, test, xml,
# the Windows platform plugin and the image formats); no SQL, D-Bus, Vulkan or ICU. OpenGL stays
# "dynamic", Qt's Windows default (loaded at run time; turning it off is a less travelled road).
# Debian's repacked source has no 3rdparty/wintab, so tablet events are off.
step_qtbase() {
  local src
  src=$(source_dir qt6-base)
  cmake -S "$src" -B "$BLD/qtbase" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DKAVREL_WIN_PREFIX="$PREFIX" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$HOST_QT_CMAKE" -DQT_QMAKE_TARGET_MKSPEC=win32-g++ \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF \
    -DFEATURE_tabletevent=OFF -DFEATURE_openssl=OFF -DFEATURE_direct2d=ON -DFEATURE_glib=OFF \
    -DFEATURE_opengl=ON -DFEATURE_opengl_desktop=ON -DFEATURE_opengl_dynamic=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_zstd=OFF \
    -DFEATURE_system_zlib=ON -DFEATURE_system_jpeg=OFF -DFEATURE_system_png=OFF -DFEATURE_system_pcre2=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_doubleconversion=OFF
  nice -n 19 cmake --build "$BLD/qtbase" -j "$JOBS"
  cmake --install "$BLD/qtbase"
}

# QuaZip 1.4 from the source of Debian's Qt 5 package (the same upstream release as libquazip1-qt6, whose
# own source the archive does not serve here), built for Qt 6. Its one use of Qt5Compat, QTextCodec,
# comes from a small stand-in over QStringConverter (qtextcodec-shim.h), as qt6-5compat's source is
# not served either.
step_quazip() {
  local src
  src=$(source_dir libquazip1-qt6 2>/dev/null) || src=$(source_dir libquazip1-qt5)
  mkdir -p "$PREFIX/include/QtCore5Compat"
  cp "$HERE/qtextcodec-shim.h" "$PREFIX/include/QtCore5Compat/QTextCodec"
  sed -i 's/COMPONENTS Core Core5Compat/COMPONENTS Core/; s/Qt6::Core Qt6::Core5Compat/Qt6::Core/' "$src/CMakeLists.txt" \
    "$src/quazip/QuaZipConfig.cmake.in"
  qt_module quazip "$src" -DQUAZIP_QT_MAJOR_VERSION=6 -DBUILD_SHARED_LIBS=ON -DQUAZIP_ENABLE_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="-I$PREFIX/include" -DQUAZIP_FETCH_LIBS=OFF
}

# Qt Multimedia's build asks for Qt ShaderTools of the target (its CMake functions bake the video
# shaders with the host's qsb).
step_qtshadertools() { qt_module qtshadertools "$(source_dir qt6-shadertools)"; }

# The camera. Needs the host's shader baker (qsb); Windows Media Foundation is the backend.
step_qtmultimedia() {
  # Qt's FindWMF asks for Mf, Mfplat, Mfcore, Mfuuid and Propsys spelt as on Windows; MinGW's import libraries
  # are lower case and this file system tells the two apart, so without the names given here Media Foundation
  # (the camera backend) is switched off and the module then fails to build.
  local lib=/usr/$TRIPLE/lib name wmf=()
  for name in mf mfplat mfcore mfuuid propsys; do
    wmf+=("-DWMF_${name^^}_LIBRARY=$lib/lib$name.a")
  done
  # Its sources also include a few headers spelt otherwise than the files (<Mferror.h>, "QUrl.h"),
  # which Windows' file system does not mind; a folder of links under those spellings lets the
  # compiler find them here.
  local src sdk=/usr/$TRIPLE/include spelt=$BLD/qtmultimedia-headers header base file
  src=$(source_dir qt6-multimedia)
  mkdir -p "$spelt"
  find "$sdk" "$PREFIX/include" \( -type f -o -type l \) -printf '%f\t%p\n' >"$spelt.index"
  { cut -f1 "$spelt.index"; find "$src" /usr/lib/gcc/$TRIPLE -type f -printf '%f\n'; } | sort -u >"$spelt.names"
  grep -rhoE '#\s*include\s*[<"][^>"]+[>"]' "$src/src" | sed -E 's/#\s*include\s*[<"]([^>"]+)[>"]/\1/' |
    sort -u | while read -r header; do
    base=${header##*/}
    if ! grep -qxF "$base" "$spelt.names"; then
      file=$(awk -F'\t' -v b="${base,,}" 'tolower($1) == b { print $2; exit }' "$spelt.index")
      if [ -n "$file" ]; then ln -sf "$file" "$spelt/$base"; fi
    fi
  done
  qt_module qtmultimedia "$src" -DFEATURE_ffmpeg=OFF -DFEATURE_spatialaudio=OFF \
    -DFEATURE_spatialaudio_quick3d=OFF "${wmf[@]}" -DCMAKE_CXX_FLAGS="-I$spelt"
}

# With arguments, only the steps named run (their prerequisites must be done).
only=" $* "
if [ $# -gt 0 ]; then
  run_step() { case "$only" in *" $1 "*) step "$@" ;; esac; }
else
  run_step() { step "$@"; }
fi

total_start=$SECONDS
run_step host_packages
run_step deb_src host_packages
# The small libraries first, so qtbase can run long afterwards.
run_step iconv host_packages
run_step qrencode deb_src
run_step xlsxwriter deb_src
run_step libpng deb_src
run_step freexl deb_src iconv
run_step sdl2 deb_src
run_step sdl2-mixer sdl2
run_step googletest deb_src
run_step qtbase deb_src
run_step quazip qtbase
run_step libmicrohttpd deb_src
run_step qtshadertools qtbase
run_step qtmultimedia qtshadertools

echo "build-toolchain: $((SECONDS - total_start)) s this run, prefix $PREFIX"
if [ ${#failed[@]} -gt 0 ]; then
  echo "build-toolchain: not finished: ${failed[*]}"
  exit 1
fi
echo "build-toolchain: done"
