#!/usr/bin/env bash
# Stress check, not part of the test suite (it needs some 5 GB of memory
# and two minutes): a file whose one line is 2.2 GiB long compares equal to
# itself in every output form of vdiff, and differs from a copy with one
# byte changed.  Lengths of 2 GiB and more once wrapped to negative.
#   bash bench/long_line.sh [build directory]
set -euo pipefail
build=${1:-build}
vdiff="$build/bin/vdiff"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
truncate -s 2200M "$work/big"                 # one line of NUL bytes, no newline
cp --sparse=always "$work/big" "$work/other"
printf 'x' | dd of="$work/other" bs=1 seek=$((2200 * 1048576 - 1)) conv=notrunc 2>/dev/null
export TMPDIR="$work"

check() {  # expected-status description command...
  local want=$1 what=$2
  shift 2
  local got=0
  "$@" > "$work/out" || got=$?
  if [ "$got" != "$want" ]; then echo "FAIL: $what: status $got, wanted $want"; exit 1; fi
  echo "ok: $what"
}
check 0 "ranges, same file" "$vdiff" "$work/big" "$work/big"
check 0 "edit script, same file" "$vdiff" -script "$work/big" "$work/big"
check 1 "ranges, last byte changed" "$vdiff" "$work/big" "$work/other"
grep -qx '1,2 1,2' "$work/out" || { echo "FAIL: ranges were: $(cat "$work/out")"; exit 1; }
echo "long lines: ok"
