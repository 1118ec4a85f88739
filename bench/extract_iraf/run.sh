#!/bin/sh
# Usage: run.sh RAYLEN_CLI [WORKDIR]: installs what the comparison needs,
# then runs compare.sh.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
bash -c '. "$1/../../scripts/deps.sh" && raylen_install_deps bench' deps "$here"
exec sh "$here/compare.sh" "$@"
