#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the screenshots need. Does nothing when
# everything is already there.
set -euo pipefail
PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n libgl-dev
  libjpeg62-turbo-dev libpng-dev libtiff-dev libgif-dev
  libheif-dev libavif-dev libwebp-dev libjxl-dev liblcms2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fonts-dejavu-core xvfb xauth xdotool desktop-file-utils
  libjpeg-turbo-progs imagemagick netpbm libimage-exiftool-perl poppler-utils
  libheif-examples libavif-bin webp libjxl-tools liblcms2-utils icc-profiles-free
  clang libclang-rt-14-dev clang-format
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
