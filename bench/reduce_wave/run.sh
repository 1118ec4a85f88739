#!/usr/bin/env bash
# Times the wavelength and flux tasks against numpy/scipy in the same run
# (best of N each) and prints the ratios.
set -euo pipefail
bin="${1:?build bin folder}"
runs="${2:-5}"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$bin/bench_reduce_wave" "$work/spec.txt" "$runs" > "$work/ours.txt"
/usr/bin/python3 "$here/numpy_reduce_wave.py" "$work/spec.txt" "$runs" > "$work/numpy.txt"
echo "task        ours (s)    numpy/scipy (s)   ours/numpy"
paste -d" " "$work/ours.txt" "$work/numpy.txt" | awk '{printf "%-10s %10.6f %14.6f %12.2f\n", $1, $2, $4, $2 / $4}'
