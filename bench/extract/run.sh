#!/bin/sh
# Usage: run.sh BIN_DIR [REPEATS]
set -eu
"$1/bench_extract" "${2:-15}"
