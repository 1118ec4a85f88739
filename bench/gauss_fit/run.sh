#!/usr/bin/env bash
# Usage: bench/gauss_fit/run.sh <build>/bin [runs] [rounds]
# sfGaussFitPro alone on 10000 points beside scipy's curve_fit, same run,
# scipy three ways (see scipy_fit.py). With several rounds the two programs
# alternate and each figure is the best over all rounds.
set -euo pipefail
bin="${1:?build bin directory}"
runs="${2:-5}"
rounds="${3:-1}"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/deps.sh"
raylen_install_deps bench
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for ((r = 1; r <= rounds; r++)); do
  "$bin/bench_gauss_fit" "$work/line.txt" "$runs" | sed 's/^\([a-z]*\) /\1 ours /' >> "$work/times"
  /usr/bin/python3 "$here/scipy_fit.py" "$work/line.txt" "$runs" >> "$work/times"
done
awk '{ k = $1 " " $2; if (!(k in best) || $3 < best[k]) best[k] = $3 }
     END {
       for (c = 1; c <= 2; c++) {
         n = c == 1 ? "window" : "whole"; o = best[n " ours"]
         printf "%-7s sfGaussFitPro %8.3f ms", n, o
         split("default matched fastest", how, " ")
         for (h = 1; h <= 3; h++)
           printf "  scipy %s %7.3f ms (ratio %.2f)", how[h], best[n " " how[h]], o / best[n " " how[h]]
         printf "\n"
       }
     }' "$work/times"
