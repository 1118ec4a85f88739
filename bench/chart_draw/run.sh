#!/usr/bin/env bash
# Usage: bench/chart_draw/run.sh <build>/bin [runs]
# Draws the same 32767-point spectrum chart into a 1600 x 1200 image with
# lumigra, QCustomPlot (Qt 5) and matplotlib (Agg), best of [runs] each,
# and prints the times and ratios.
set -euo pipefail
bin="${1:?build bin directory}"
runs="${2:-15}"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/deps.sh"
raylen_install_deps bench
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

ours=$("$bin/bench_chart_draw" "$work/spectrum.txt" "$runs" "$work/lumigra.png")
qcp=$("$bin/bench_chart_draw_qcp" "$work/spectrum.txt" "$runs" "$work/qcustomplot.png")
mpl=$(/usr/bin/python3 "$here/matplotlib_draw.py" "$work/spectrum.txt" "$runs" "$work/matplotlib.png")
if [ -n "${KEEP_PNG:-}" ]; then cp "$work"/*.png "$KEEP_PNG"/; fi

echo "lumigra      ${ours} ms"
echo "QCustomPlot  ${qcp} ms"
echo "matplotlib   ${mpl} ms"
awk -v o="$ours" -v q="$qcp" -v m="$mpl" 'BEGIN {
  printf "lumigra / QCustomPlot = %.2f (target <= 1.5)\n", o / q
  printf "lumigra / matplotlib  = %.2f (target < 1.0)\n", o / m
}'
