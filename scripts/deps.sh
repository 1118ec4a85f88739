#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need,
# when any of them is missing. Sourced by scripts/run and scripts/test.
set -euo pipefail

RAYLEN_PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev
  libgsl-dev libgsf-1-dev
  fonts-ipafont fonts-urw-base35
  googletest
  python3-astropy python3-scipy python3-numpy python3-olefile
  libcfitsio-dev iraf iraf-noao python3-pyraf
  xvfb xauth poppler-utils
  qtbase5-dev libqcustomplot-dev python3-matplotlib
)

raylen_install_deps() {
  local missing=()
  for p in "${RAYLEN_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
  fi
}

raylen_build() {
  local src="$1" build="$2"
  shift 2
  cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$build" -j2
}
