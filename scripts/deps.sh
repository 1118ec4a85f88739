#!/usr/bin/env bash
# Debian packages by need, and the installer for whichever lists a script
# asks for. Sourced by scripts/run, scripts/test and the bench scripts.
set -euo pipefail

# What the built program needs to run.
RAYLEN_RUN_PACKAGES=(
  libqt6widgets6 libqt6printsupport6 libqt6svg6 libqt6network6 qt6-qpa-plugins libgsf-1-114 liberfa1
  fonts-ipafont fonts-urw-base35 qt6-translations-l10n
)

# What building it needs.
RAYLEN_BUILD_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev
  libgsf-1-dev liberfa-dev
)

# What the tests need: GoogleTest, the sanitizer runtime, the outside
# references (astropy, scipy, specutils, specreduce, CFITSIO, IRAF), a virtual display and PDF tools.
RAYLEN_TEST_PACKAGES=(
  googletest clang libclang-rt-14-dev
  python3-astropy python3-scipy python3-numpy python3-olefile
  python3-specutils python3-specreduce
  libcfitsio-dev iraf iraf-noao python3-pyraf
  python3-astroscrappy python3-ccdproc
  xvfb xauth poppler-utils desktop-file-utils
)

# What the benchmarks' anchors need.
RAYLEN_BENCH_PACKAGES=(
  qtbase5-dev libqcustomplot-dev python3-matplotlib
  python3-astropy python3-scipy python3-numpy iraf iraf-noao python3-pyraf
  python3-astroscrappy python3-ccdproc
)

# raylen_install_deps [run] [build] [test] [bench]: installs the missing
# packages of the named lists (run and build without arguments).
raylen_install_deps() {
  local needs=("$@") wanted=() missing=()
  [ ${#needs[@]} -eq 0 ] && needs=(run build)
  for need in "${needs[@]}"; do
    case "$need" in
      run) wanted+=("${RAYLEN_RUN_PACKAGES[@]}") ;;
      build) wanted+=("${RAYLEN_BUILD_PACKAGES[@]}") ;;
      test) wanted+=("${RAYLEN_TEST_PACKAGES[@]}") ;;
      bench) wanted+=("${RAYLEN_BENCH_PACKAGES[@]}") ;;
      *) echo "deps.sh: unknown list $need" >&2; return 2 ;;
    esac
  done
  for p in "${wanted[@]}"; do
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

# raylen_ensure_programs BIN NAME...: builds the named programs of the build
# folder above BIN when they are missing. An anchor program is configured
# only when its packages are present, and a folder configured before they
# were installed has not got it yet: configure again (which looks again for
# what was not found) and build just those.
raylen_ensure_programs() {
  local bin="$1" missing=()
  shift
  for program in "$@"; do
    [ -x "$bin/$program" ] || missing+=("$program")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local build
  build="$(cd "$bin/.." && pwd)"
  cmake -DRAYLEN_BENCH=ON "$build" > /dev/null
  cmake --build "$build" -j2 --target "${missing[@]}"
}
