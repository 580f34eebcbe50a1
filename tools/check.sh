#!/usr/bin/env bash
# Sets everything up on a bare Debian 12 machine and runs the whole test
# suite: packages, configure, build, then every test through CTest.  The
# programs are also built optimised (Release, no tests), since warnings
# that only the optimiser sees would otherwise reach users first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build -j 2
ctest --test-dir build --output-on-failure -j 2
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DDIFFVIEW_TESTS=OFF
cmake --build build-release -j 2
