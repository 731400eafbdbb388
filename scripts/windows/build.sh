#!/usr/bin/env bash
# `make windows`: cross-builds kavrel-draw.exe, kavrel-verify.exe and kavrel-sheet.exe against the
# toolchain prefix (scripts/windows/build-toolchain.sh) and lays out dist/:
#   dist/kavrel-<version>-win64/        the portable program folder (runs from a USB stick, writes beside itself)
#   dist/kavrel-<version>-win64.zip     that folder zipped
#   dist/kavrel-<version>-setup.exe     the NSIS installer (Program Files, Start menu, uninstaller)
# With --tests it builds the display-free test programs instead (for `make test-windows`).
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
prefix=${KAVREL_WIN_PREFIX:-$HOME/.cache/kavrel-win64}
build=${WIN_BUILD_DIR:-$root/build-windows}
jobs=${JOBS:-2}
triple=x86_64-w64-mingw32
version=$(sed -n 's/^project(kavrel_draw VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
name=kavrel-$version-win64
out=$root/dist/$name

[ -f "$prefix/lib/cmake/Qt6/qt.toolchain.cmake" ] ||
  { echo "windows: no Windows Qt in $prefix; run scripts/windows/build-toolchain.sh first" >&2; exit 2; }
# A toolchain made before its libmicrohttpd step has no web server for the phone pages.
[ -f "$prefix/lib/pkgconfig/libmicrohttpd.pc" ] ||
  { echo "windows: no libmicrohttpd in $prefix; run scripts/windows/build-toolchain.sh libmicrohttpd" >&2; exit 2; }

tests=OFF
[ "${1:-}" = "--tests" ] && tests=ON
# Qt's own toolchain file loads ours (the MinGW compilers, the prefix) and points at the host tools.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DKAVREL_WIN_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release -DKAVREL_WERROR=ON \
  -DBUILD_TESTING=$tests -DCMAKE_INSTALL_PREFIX="$out"
if [ $tests = ON ]; then
  cmake --build "$build" -j "$jobs" --target storage_tests engine_tests verify_tests workbook_tests \
    results_export_tests phone_tests
  exit 0
fi
cmake --build "$build" -j "$jobs" --target kavrel-draw kavrel-verify kavrel-sheet kavrel_manual
rm -rf "$out"
cmake --install "$build"

# The DLLs the programs need, found by following their import tables through the prefix and the
# MinGW runtime; Windows' own DLLs are not found there and stay out.
search=("$prefix/bin" "$prefix/lib" /usr/$triple/lib /usr/lib/gcc/$triple/12-posix)
find_dll() {
  local d
  for d in "${search[@]}"; do
    [ -f "$d/$1" ] && { echo "$d/$1"; return 0; }
    local hit
    hit=$(find "$d" -maxdepth 1 -iname "$1" -print -quit 2>/dev/null)
    [ -n "$hit" ] && { echo "$hit"; return 0; }
  done
  return 1
}
deploy() {
  local file=$1 dll src
  for dll in $($triple-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
    [ -e "$out/$dll" ] && continue
    src=$(find_dll "$dll") || continue
    cp "$src" "$out/$dll"
    deploy "$out/$dll"
  done
}

# Qt's plugins: the Windows platform, the native style, printing, JPEG/GIF/ICO pictures, and the
# camera's backend when Qt Multimedia was built.
mkdir -p "$out/plugins" "$out/translations"
for plugin in platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qjpeg.dll imageformats/qgif.dll \
  imageformats/qico.dll printsupport/windowsprintersupport.dll multimedia/windowsmediaplugin.dll; do
  if [ -f "$prefix/plugins/$plugin" ]; then
    mkdir -p "$out/plugins/$(dirname "$plugin")"
    cp "$prefix/plugins/$plugin" "$out/plugins/$plugin"
  fi
done
printf '[Paths]\nPlugins = plugins\nTranslations = translations\n' >"$out/qt.conf"
# Qt's own dialogs in Chinese: the .qm files are the same on every system.
cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$out/translations/"

for f in "$out"/*.exe $(find "$out/plugins" -name '*.dll'); do deploy "$f"; done
# The phone pages' web server comes in through kavrel-draw.exe's imports; a folder without its DLL
# would start and then fail on every machine, so a missing one stops the build.
ls "$out"/libmicrohttpd-*.dll >/dev/null 2>&1 ||
  { echo "windows: libmicrohttpd's DLL was not bundled (is it in $prefix/bin?)" >&2; exit 1; }
$triple-strip --strip-unneeded "$out"/*.exe "$out"/*.dll $(find "$out/plugins" -name '*.dll') 2>/dev/null || true

rm -f "$root/dist/$name.zip"
(cd "$root/dist" && zip -qr9 "$name.zip" "$name")
makensis -V2 -DVERSION="$version" -DSOURCE="$out" -DICON="$root/assets/pictures/app_icon.ico" \
  -DOUTFILE="$root/dist/kavrel-$version-setup.exe" "$root/scripts/windows/installer.nsi"
du -h "$root/dist/$name.zip" "$root/dist/kavrel-$version-setup.exe"
