#!/usr/bin/env bash
# Benchmarks vdiff against GNU diff and git diff --no-index on generated
# file pairs (see bench/bench.py).  Builds vdiff into build/ when it is not
# there; the pairs are generated once into build/bench/.
#
#   bash bench/run.sh [--runs N] [PAIR ...]
#
# Environment: BUILD_DIR (default build), VDIFF (default $BUILD_DIR/bin/vdiff).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
vdiff=${VDIFF:-$build/bin/vdiff}
if [ ! -x "$vdiff" ]; then
  cmake -S . -B "$build" -G Ninja > /dev/null
  cmake --build "$build" --target vdiff -j 2
fi
mkdir -p "$build/bench"
exec python3 bench/bench.py --vdiff "$vdiff" --scratch "$build/bench" "$@"
