#!/usr/bin/env bash
# Usage: bench/gauss_fit/run.sh <build>/bin [runs]
# sfGaussFitPro alone on 10000 points beside scipy's curve_fit, same run.
set -euo pipefail
bin="${1:?build bin directory}"
runs="${2:-5}"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
ours=$("$bin/bench_gauss_fit" "$work/line.txt" "$runs")
ref=$(/usr/bin/python3 "$here/scipy_fit.py" "$work/line.txt" "$runs")
for case in window whole; do
  o=$(echo "$ours" | awk -v c="$case" '$1 == c {print $2}')
  s=$(echo "$ref" | awk -v c="$case" '$1 == c {print $2}')
  awk -v c="$case" -v o="$o" -v s="$s" 'BEGIN { printf "%-7s sfGaussFitPro %9.3f ms  scipy %7.3f ms  ratio %.1f\n", c, o, s, o / s }'
done
