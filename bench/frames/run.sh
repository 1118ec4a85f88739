#!/usr/bin/env bash
# Times cleaning and combining against astroscrappy and ccdproc on the same
# files (same run) and prints the ratios.
#   run.sh BIN_DIR [RUNS]
set -euo pipefail
bin="${1:?build bin folder}"
runs="${2:-3}"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$bin/bench_frames" "$work" "$runs" > "$work/ours.txt"
/usr/bin/python3 "$here/anchors.py" "$work" "$runs" > "$work/anchors.txt"
cat "$work/ours.txt" "$work/anchors.txt"
awk 'NR == FNR {ours[$1] = $2; next}
     {split($1, part, "_"); op = (part[1] == "astroscrappy") ? "clean" : part[2];
      printf "ours %s / %s = %.3f\n", op, $1, ours[op] / $2
      # ccdproc always computes the uncertainty: ours with it against the same anchor.
      if ((op "_err") in ours) printf "ours %s_err / %s = %.3f\n", op, $1, ours[op "_err"] / $2}' \
    "$work/ours.txt" "$work/anchors.txt"
