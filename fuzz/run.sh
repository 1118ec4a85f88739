#!/usr/bin/env bash
# Runs each fuzz target for SECONDS (default 600) from a copy of its seeds.
# Usage: fuzz/run.sh BUILD_BIN [SECONDS] [TARGET...]
set -euo pipefail
bin="${1:?fuzz build bin folder}"
seconds="${2:-600}"
shift 2 || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_fits fuzz_text fuzz_kind)
here="$(cd "$(dirname "$0")" && pwd)"
out="${FUZZ_OUT:-$here/../fuzz-out}"
export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
for t in "${targets[@]}"; do
  seeds="$here/corpus/${t#fuzz_}"
  [ -d "$seeds" ] || seeds="$here/${t#fuzz_}/corpus"
  work="$out/$t"
  mkdir -p "$work/corpus"
  cp -n "$seeds"/* "$work/corpus/" 2>/dev/null || true
  echo "== $t for ${seconds}s"
  (cd "$work" && "$bin/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -max_len=65536 \
      -print_final_stats=1 corpus 2>&1 | tail -n 25) | tee "$work/log.txt"
done
