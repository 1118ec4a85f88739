#!/usr/bin/env bash
# Percentile limits and stretches of a 4096 × 4096 image, ours against numpy
# in the same run (best of N), and one zoomed repaint's sampling.
set -euo pipefail
bin="${1:?build bin folder}"
runs="${2:-5}"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$bin/bench_stretch" "$work/sky.f32"
/usr/bin/python3 "$here/numpy_stretch.py" "$work/sky.f32" "$runs"
