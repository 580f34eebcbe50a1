#!/usr/bin/env bash
# Benchmarks the service router (bench/router_bench.cpp): a first tool's
# start-up with a new router, connecting to a running service, a call with
# reply through the router beside the same call made directly, ten clients
# at once, and the router's memory with 1 and 50 tools.  The tools are
# forked processes using a private TMPDIR, so no user's router is met.
# Builds router_bench (and svc_router beside it) into build/ when needed.
#
#   bash bench/router.sh
#
# Environment: BUILD_DIR (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
if [ ! -x "$build/bin/router_bench" ] || [ ! -x "$build/bin/svc_router" ]; then
  cmake -S . -B "$build" -G Ninja > /dev/null
  cmake --build "$build" --target router_bench -j 2
fi
exec "$build/bin/router_bench"
