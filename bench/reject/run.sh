#!/usr/bin/env bash
# Times the fits with and without sigma rejection against the same
# procedure in numpy (best of N each, same run) and prints the ratios.
#   run.sh BIN_DIR [RUNS]
set -euo pipefail
bin="${1:?build bin folder}"
runs="${2:-5}"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$bin/bench_reject" "$work" "$runs" > "$work/ours.txt"
/usr/bin/python3 "$here/numpy_reject.py" "$work" "$runs" > "$work/numpy.txt"
echo "fit             ours (ms)   numpy (ms)   ours/numpy   ours reject/plain"
grep -v '^#' "$work/numpy.txt" > "$work/numpy_times.txt"
join <(sort "$work/ours.txt") <(sort "$work/numpy_times.txt") -a1 | sort -k1,1 |
  awk '{ours[$1] = $2; np[$1] = $3; names[NR] = $1}
       END {for (i = 1; i <= NR; ++i) {n = names[i]; base = n; sub(/_(plain|reject)$/, "_plain", base);
            r = (np[n] != "") ? sprintf("%10.2f", ours[n] / np[n]) : "         -";
            npt = (np[n] != "") ? sprintf("%10.3f", np[n] * 1e3) : "         -";
            printf "%-15s %10.3f %s %s %12.2f\n", n, ours[n] * 1e3, npt, r, ours[n] / ours[base]}}'
grep '^#' "$work/numpy.txt" || true
