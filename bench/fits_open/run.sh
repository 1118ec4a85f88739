#!/usr/bin/env bash
# Times our open-and-convert and render of a 4096 × 4096 BITPIX 16 file against
# CFITSIO and astropy in the same run (best of N), and reports ratios.
set -euo pipefail
bin="${1:?build bin folder}"
runs="${2:-5}"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/deps.sh"
raylen_install_deps bench
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
file="$work/big.fit"
"$bin/bench_fits_open" make "$file"
size_kib=$(( $(stat -c %s "$file") / 1024 ))

best() { # best seconds and the peak of that run over $runs runs
  local bestT="" bestM=""
  for _ in $(seq "$runs"); do
    read -r t m _ < <("$@")
    if [ -z "$bestT" ] || awk "BEGIN{exit !($t < $bestT)}"; then bestT=$t; bestM=$m; fi
  done
  echo "$bestT $bestM"
}
# Warm the page cache once so every reader starts equal.
cat "$file" > /dev/null
read -r ours oursMem < <(best "$bin/bench_fits_open" ours "$file")
read -r render renderMem < <(best "$bin/bench_fits_open" render "$file")
read -r cfitsio cfitsioMem < <(best "$bin/bench_fits_open" cfitsio "$file")
read -r astropy astropyMem < <(best /usr/bin/python3 "$here/astropy_open.py" "$file")
float_kib=$(( 4096 * 4096 * 4 / 1024 ))
limit_kib=$(( size_kib + 2 * float_kib ))
ratio() { awk "BEGIN{printf \"%.2f\", $1 / $2}"; }
echo "open-and-convert 4096x4096 BITPIX 16 (best of $runs)"
echo "  ours     ${ours}s  peak ${oursMem} KiB (limit file + 2 x float image = ${limit_kib} KiB)"
echo "  cfitsio  ${cfitsio}s  peak ${cfitsioMem} KiB"
echo "  astropy  ${astropy}s  peak ${astropyMem} KiB"
echo "  ours/cfitsio = $(ratio "$ours" "$cfitsio")   ours/astropy = $(ratio "$ours" "$astropy")"
echo "open + render bitmap: ${render}s  peak ${renderMem} KiB  (render/cfitsio open = $(ratio "$render" "$cfitsio"))"
