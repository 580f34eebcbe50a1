#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, and fuzzes each for a while:
#   bash tools/fuzz.sh [seconds per target] [target ...]
# Targets: config options geometry loader frame binary ascii transport
# negotiation parser router kvc.  New inputs that raise coverage are kept in
# build-fuzz/corpus/<target> (copy the interesting ones into
# tests/fuzz/corpus/<target> to have every test run replay them); a crash
# leaves its input in build-fuzz/ as crash-<hash>.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(config options geometry loader frame binary ascii transport negotiation parser router kvc)

bash tools/install-deps.sh --fuzz
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -g -O1"
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" -DDIFFVIEW_LIBFUZZER=ON
cmake --build build-fuzz -j 2 --target "${targets[@]/#/fuzz_}"

mkdir -p build-fuzz/tmp
failed=0
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t"
  echo "== $t: ${seconds} s"
  (cd build-fuzz && TMPDIR="$PWD/tmp" "fuzz/fuzz_$t" -max_total_time="$seconds" \
     -close_fd_mask=2 -print_final_stats=1 "corpus/$t" "../tests/fuzz/corpus/$t") ||
    { echo "== $t: FAILED (the input is in build-fuzz/crash-*)"; failed=1; }
done
exit $failed
