#!/usr/bin/env bash
# Usage: bench/plot_window/run.sh <build>/bin [runs]
# The plot window's sfPlotLin + repaint of the 32767-point spectrum beside
# the chart drawing benchmark (same data, same resolution) and QCustomPlot,
# and key k on 10000 points beside scipy's curve_fit.
set -euo pipefail
bin="${1:?build bin directory}"
runs="${2:-15}"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/deps.sh"
raylen_install_deps bench
raylen_ensure_programs "$bin" bench_chart_draw bench_chart_draw_qcp bench_plot_window
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

chart=$("$bin/bench_chart_draw" "$work/spectrum.txt" "$runs" "$work/chart.png")
qcp=$("$bin/bench_chart_draw_qcp" "$work/spectrum.txt" "$runs" "$work/qcustomplot.png")
# The window at the chart benchmark's resolution (1600 px over 150 mm).
window=$(QT_FONT_DPI=271 "$bin/bench_plot_window" "$work/spectrum.txt" "$runs" "$work/line.txt" "$work/window.png")
plot=$(echo "$window" | awk '/^plot/ {print $2}')
gauss=$(echo "$window" | awk '/^gauss/ {print $2}')
scipy=$(/usr/bin/python3 "$here/scipy_fit.py" "$work/line.txt" "$runs")
if [ -n "${KEEP_PNG:-}" ]; then cp "$work"/*.png "$KEEP_PNG"/; fi

echo "chart drawing pass      ${chart} ms"
echo "QCustomPlot             ${qcp} ms"
echo "window sfPlotLin+paint  ${plot} ms"
echo "key k, 10000 points     ${gauss} ms"
echo "scipy curve_fit         ${scipy} ms"
awk -v c="$chart" -v q="$qcp" -v p="$plot" -v g="$gauss" -v s="$scipy" 'BEGIN {
  printf "window / chart pass   = %.2f\n", p / c
  printf "window / QCustomPlot  = %.2f (target <= 0.5)\n", p / q
  printf "key k / scipy         = %.2f\n", g / s
}'
