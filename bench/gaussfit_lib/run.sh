#!/usr/bin/env bash
# Times VB_iGaussfit on a 10000-point absorption line (key k over a whole
# spectrum; once more with the centre guessed five standard deviations off),
# a 401-point window and a 9-point emission line (key g) against
# scipy.optimize.curve_fit on the same points in the same run (best of N).
# scipy starts where the library's first start is; from the poor centre it
# ends on the noise, so that row's ratio compares a found line with a miss.
set -euo pipefail
bin="${1:?build bin folder}"
runs="${2:-5}"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/deps.sh"
raylen_install_deps bench
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
ratio() { awk "BEGIN{printf \"%.2f\", $1 / $2}"; }
echo "VB_iGaussfit against scipy curve_fit (best of $runs)"
for size in 10000 10000-off 401 9; do
  file="$work/line$size.txt"
  "$bin/bench_gaussfit_lib" make "$size" "$file"
  read -r ours oa ob oc od status < <("$bin/bench_gaussfit_lib" fit "$file" "$runs")
  read -r scipy sa sb sc sd < <(/usr/bin/python3 "$here/scipy_fit.py" "$file" "$runs")
  echo "  $size points: ours ${ours}s (status $status)  scipy ${scipy}s  ours/scipy = $(ratio "$ours" "$scipy")"
  echo "    ours  A $oa B $ob C $oc D $od"
  echo "    scipy A $sa B $sb C $sc D $sd"
done
