#!/usr/bin/env bash
# Installs every Debian package the build, the program, the tests and the asset generators need.
# Idempotent: when everything is already installed it does nothing (and needs no network).
set -euo pipefail

PACKAGES=(
  # toolchain
  build-essential cmake ninja-build pkg-config git clang-format
  # Qt 6 (widgets, printing, SVG, multimedia for the camera) and its Chinese translations
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-multimedia-dev qt6-translations-l10n
  libgl-dev
  # large PNG pictures, decoded row by row
  libpng-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  # sound
  libsdl2-mixer-dev timgm6mb-soundfont
  # the QR code of the event seal, and zbarimg to read it back in the tests
  libqrencode-dev zbar-tools
  # workbooks
  libquazip1-qt6-dev libfreexl-dev libxlsxwriter-dev
  # Chinese fonts
  fonts-noto-cjk fonts-wqy-microhei
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # the workbook benchmark's yardstick (openpyxl) and its .xls writer (xlwt)
  python3-openpyxl python3-xlwt
  # pdftotext reads the exported PDF back in the tests
  poppler-utils
  # the phone pages' web server
  libmicrohttpd-dev
  # end-to-end checks (chromium drives the phone pages)
  xvfb xauth xdotool imagemagick x11-utils chromium chromium-driver curl
  # asset generators (music)
  fluidsynth lame sox
)

# `install-deps.sh fuzz`: the fuzz targets' compiler and sanitizer runtime as well (not needed by the two
# set-up commands).
if [ "${1:-}" = fuzz ]; then
  PACKAGES+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
