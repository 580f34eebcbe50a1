#!/usr/bin/env bash
# Sets everything up on a bare Debian 12 machine, builds diffview (the
# program alone, not the tests) and runs it on the bundled example pair.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build -j 2 --target diffview
exec build/bin/diffview "$@" examples/left.c examples/right.c
