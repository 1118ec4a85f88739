#!/usr/bin/env bash
# Runs each fuzz target for SECONDS (default 600) from a copy of its seeds,
# one after another; every fuzz_* program of the build unless targets are named.
# Usage: fuzz/run.sh BUILD_BIN [SECONDS] [TARGET...]
# Exits non-zero when any target reports a fault.
set -euo pipefail
bin="${1:?fuzz build bin folder}"
# Absolute, since each target runs from inside its own work folder.
bin="$(cd "$bin" && pwd)"
seconds="${2:-600}"
shift 2 || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for program in "$bin"/fuzz_*; do
    [ -x "$program" ] && targets+=("$(basename "$program")")
  done
fi
here="$(cd "$(dirname "$0")" && pwd)"
out="${FUZZ_OUT:-$here/../fuzz-out}"
# The fast unwinder stops inside GLib, so a leak inside libgsf would carry no
# libgsf frame for lsan.supp to match; the slow one walks the whole stack.
export ASAN_OPTIONS="fast_unwind_on_malloc=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:fast_unwind_on_malloc=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
failed=0
for t in "${targets[@]}"; do
  seeds="$here/corpus/${t#fuzz_}"
  [ -d "$seeds" ] || seeds="$here/${t#fuzz_}/corpus"
  work="$out/$t"
  mkdir -p "$work/corpus"
  cp -n "$seeds"/* "$work/corpus/" 2>/dev/null || true
  # Header words and edge numbers, where a target has them.
  dict=()
  [ -f "$here/dict/${t#fuzz_}.dict" ] && dict=(-dict="$here/dict/${t#fuzz_}.dict")
  echo "== $t for ${seconds}s"
  status=0
  (cd "$work" && "$bin/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=65536 \
      "${dict[@]}" -print_final_stats=1 corpus >"$work/full-log.txt" 2>&1) || status=$?
  tail -n 25 "$work/full-log.txt" | tee "$work/log.txt"
  if [ "$status" -ne 0 ]; then
    echo "== $t stopped with status $status (see $work/full-log.txt)"
    failed=1
  fi
done
exit "$failed"
