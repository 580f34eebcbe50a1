#!/usr/bin/env bash
# Sets everything up on a bare Debian 12 machine and runs the whole test
# suite: packages, configure, build, then every test through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build -j 2
ctest --test-dir build --output-on-failure -j 2
