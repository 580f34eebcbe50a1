#!/usr/bin/env bash
# Benchmarks the service messaging between two processes (bench/stp_bench.cpp):
# a plain socket ping-pong beside a call through the generated stubs, one-way
# throughput and a 10 MB call.  Builds stp_bench into build/ when needed.
#
#   bash bench/stp.sh
#
# Environment: BUILD_DIR (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
if [ ! -x "$build/bin/stp_bench" ]; then
  cmake -S . -B "$build" -G Ninja > /dev/null
  cmake --build "$build" --target stp_bench -j 2
fi
exec "$build/bin/stp_bench"
