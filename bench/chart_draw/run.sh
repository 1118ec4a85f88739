#!/usr/bin/env bash
# Usage: bench/chart_draw/run.sh <build>/bin [runs]
# Draws the same 32767-point spectrum chart into a 1600 x 1200 image with
# lumigra, QCustomPlot (Qt 5) and matplotlib (Agg), best of [runs] each,
# and prints the times and ratios. Each anchor runs twice: "matched" draws as
# our chart does (aliased line, every point joined), "default" keeps the
# anchor's own settings (antialiasing, adaptive sampling or simplification).
set -euo pipefail
bin="${1:?build bin directory}"
runs="${2:-15}"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/deps.sh"
raylen_install_deps bench
raylen_ensure_programs "$bin" bench_chart_draw bench_chart_draw_qcp
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

ours=$("$bin/bench_chart_draw" "$work/spectrum.txt" "$runs" "$work/lumigra.png")
qcpMatched=$("$bin/bench_chart_draw_qcp" "$work/spectrum.txt" "$runs" "$work/qcustomplot.png" matched)
qcpFastest=$("$bin/bench_chart_draw_qcp" "$work/spectrum.txt" "$runs" "$work/qcustomplot-fastest.png" fastest)
qcpDefault=$("$bin/bench_chart_draw_qcp" "$work/spectrum.txt" "$runs" "$work/qcustomplot-default.png" default)
mplMatched=$(/usr/bin/python3 "$here/matplotlib_draw.py" "$work/spectrum.txt" "$runs" "$work/matplotlib.png" matched)
mplDefault=$(/usr/bin/python3 "$here/matplotlib_draw.py" "$work/spectrum.txt" "$runs" "$work/matplotlib-default.png" default)
if [ -n "${KEEP_PNG:-}" ]; then cp "$work"/*.png "$KEEP_PNG"/; fi

echo "lumigra                        ${ours} ms"
echo "QCustomPlot (matched: aliased, no adaptive sampling)  ${qcpMatched} ms"
echo "QCustomPlot (fastest: aliased, adaptive sampling)     ${qcpFastest} ms"
echo "QCustomPlot (its defaults)     ${qcpDefault} ms"
echo "matplotlib (matched: aliased, no simplification)      ${mplMatched} ms"
echo "matplotlib (its defaults)      ${mplDefault} ms"
awk -v o="$ours" -v qf="$qcpFastest" -v q="$qcpMatched" -v qd="$qcpDefault" -v m="$mplMatched" -v md="$mplDefault" 'BEGIN {
  printf "lumigra / QCustomPlot fastest  = %.2f (target <= 0.3)\n", o / qf
  printf "lumigra / QCustomPlot matched  = %.2f (target <= 1.5)\n", o / q
  printf "lumigra / matplotlib matched   = %.2f (target < 1.0)\n", o / m
  printf "lumigra / QCustomPlot default  = %.2f\n", o / qd
  printf "lumigra / matplotlib default   = %.2f\n", o / md
}'
