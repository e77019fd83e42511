#!/usr/bin/env bash
# Installs the Debian packages needed to build and test Marvist.
# Safe to run again: only missing packages are installed.
set -euo pipefail

packages=(
  build-essential cmake
  googletest libgtest-dev libgmock-dev
  libbenchmark-dev libeigen3-dev
  libboost-math-dev nlohmann-json3-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev fonts-dejavu-core
  xvfb xauth imagemagick openbox xdotool x11-utils
  librsvg2-bin libxml2-utils libexpat1-dev poppler-utils
  clang libclang-rt-14-dev llvm time
  # The test of the user's guide runs its commands, its R and Python examples.
  python3 r-base-core
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} > 0)); then
  sudo=()
  if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update
  "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
