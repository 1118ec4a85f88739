#!/usr/bin/env bash
# Usage: bench/night/run.sh <build>/bin [runs]
# A ten-frame night: ten sample nights written by raylen-cli sample, each
# reduced by scripts/reduce-night (dark and flat, extraction, lamp,
# identification, dispersion, flux, normalisation, measurements, plot).
# Once one frame at a time on one core (taskset -c 0), once side by side on
# both cores; the two kinds of run alternate, best of RUNS each. Beside them
# two controls of what the machine gives (it is shared): a plain shell loop
# run the same two ways, and the ceiling for this very work, two separate
# runs of five nights each at once, each held to a core of its own. Every
# output but the plot is compared byte for byte: the plot shows the clock time.
set -euo pipefail
bin="$(cd "${1:?build bin folder}" && pwd)"
runs="${2:-3}"
here="$(cd "$(dirname "$0")" && pwd)"
reduce="$here/../../scripts/reduce-night"
frames=10
loop=400000
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
unset RAYLEN_JOBS

for kind in one both split; do
  mkdir "$work/$kind"
  for ((i = 1; i <= frames; i++)); do
    "$bin/raylen-cli" sample "$work/$kind/frame$i" > /dev/null
  done
done
nights() { for ((i = ${2:-1}; i <= ${3:-frames}; i++)); do echo "$work/$1/frame$i"; done; }
spin="for ((k = 0; k < $loop; k++)); do :; done"

# Prints "wall user+sys" in seconds of the command and its children.
timed() {
  local TIMEFORMAT='%R %U %S'
  { time "$@" > "$work/log" 2>&1 || { cat "$work/log" >&2; exit 1; }; } 2> "$work/time"
  awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' "$work/time"
}
best() { awk -v a="$1" -v b="$2" 'BEGIN { print (b < a ? b : a) }'; }

b1=1e9 b2=1e9 c1=1e9 c2=1e9 h=1e9
half=$((frames / 2))
for ((r = 1; r <= runs; r++)); do
  # shellcheck disable=SC2046
  read -r t cpu1 < <(timed taskset -c 0 "$reduce" "$bin/raylen-cli" $(nights one))
  cp "$work/log" "$work/one.log"
  # shellcheck disable=SC2046
  read -r u cpu2 < <(timed taskset -c 0,1 "$reduce" "$bin/raylen-cli" $(nights both))
  cp "$work/log" "$work/both.log"
  # shellcheck disable=SC2046
  read -r x _ < <(timed bash -c "taskset -c 0 $reduce $bin/raylen-cli $(nights split 1 $half | tr '\n' ' ') > /dev/null &
                                  taskset -c 1 $reduce $bin/raylen-cli $(nights split $((half + 1)) | tr '\n' ' ') > /dev/null; wait")
  read -r s _ < <(timed taskset -c 0 bash -c "bash -c '$spin'; bash -c '$spin'")
  read -r p _ < <(timed taskset -c 0,1 bash -c "bash -c '$spin' & bash -c '$spin' & wait")
  b1=$(best "$b1" "$t") b2=$(best "$b2" "$u") c1=$(best "$c1" "$s") c2=$(best "$c2" "$p") h=$(best "$h" "$x")
  echo "run $r: one core ${t} s (cpu ${cpu1} s), both cores ${u} s (cpu ${cpu2} s); two halves on a core each ${x} s; control loop ${s} s / ${p} s"
done

differ=0
for ((i = 1; i <= frames; i++)); do
  for f in "$work/one/frame$i"/*; do
    case "$f" in *.png) continue ;; esac
    cmp -s "$f" "$work/both/frame$i/$(basename "$f")" || { echo "differs: frame$i/$(basename "$f")"; differ=1; }
  done
done
# The logs name their folders; with those evened out they agree too.
sed "s|$work/one|W|g" "$work/one.log" > "$work/one.cmp"
sed "s|$work/both|W|g" "$work/both.log" > "$work/both.cmp"
cmp -s "$work/one.cmp" "$work/both.cmp" || { echo "logs differ"; differ=1; }
files=$(find "$work/one" -type f ! -name '*.png' | wc -l)
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
echo "ten frames, best of $runs: one core ${b1} s, both cores ${b2} s, speed-up $(ratio "$b1" "$b2")"
echo "ceiling, best of $runs: two separate runs of $half nights, a core each, ${h} s, speed-up $(ratio "$b1" "$h")"
echo "control loop, best of $runs: one core ${c1} s, both cores ${c2} s, speed-up $(ratio "$c1" "$c2")"
[ "$differ" -eq 0 ] && echo "outputs identical ($files files, plots aside) and logs identical"
exit "$differ"
