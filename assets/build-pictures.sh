#!/usr/bin/env bash
# Rebuilds the built-in pictures: builds the picture generator and runs it. The pictures it writes into
# assets/pictures/ (and the manual's placeholder screenshots into assets/manual/img/) are committed, so the
# normal build needs neither the generator nor its fonts.
#   assets/build-pictures.sh            every picture
#   assets/build-pictures.sh stage_     only the pictures whose file name starts with "stage_"
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${KAVREL_PICTURE_BUILD:-$here/../build-pictures}"
cmake -S "$here/generator" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2
QT_QPA_PLATFORM=offscreen "$build/kavrel-picture-gen" "$here/pictures" "$here/manual/img" "$@"
# The Windows icon (the program's and the installer's) bundles the icon's sizes in one .ico.
if command -v convert >/dev/null && { [ $# -eq 0 ] || [[ app_icon == "$1"* ]]; }; then
  convert "$here"/pictures/app_icon_{16,24,32,48,64,128,256}.png "$here/pictures/app_icon.ico"
fi
