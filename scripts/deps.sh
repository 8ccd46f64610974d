#!/usr/bin/env bash
# Installs the Debian packages needed to build, test, fuzz and run Tilesmithery.
# Idempotent: apt-get is only called for packages that are missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  libpng-dev libdeflate-dev libjpeg-dev zlib1g-dev libgif-dev libtiff-dev
  qt6-base-dev qt6-translations-l10n libgl-dev libjpeg-turbo-progs
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth hyperfine
  gcc-arm-none-eabi libnewlib-arm-none-eabi binutils-arm-none-eabi
  libmgba-dev
  dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
