#!/usr/bin/env bash
# Benchmark of the text view (not a timed test): a file of N lines (one
# million by default) is loaded into a browser over a text view on a private
# Xvfb, shown, and scrolled to its last line.  Prints the time to load and
# lay out, the time to the first paint, the time to jump to the last line
# and the peak memory, for a quarter, a half and all of N, so that the
# growth of memory with the line count can be seen.
#
#   bench/textview.sh [build-dir] [lines]
set -eu

top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
lines=${2:-1000000}
demo=$build/bin/textview_demo

if [ ! -x "$demo" ]; then
  cmake --build "$build" --target textview_demo -j2 >/dev/null
fi

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

. "$(dirname "$0")/xvfb.sh"

# Source-like lines of varying length.
make_file() {
  awk -v n="$1" 'BEGIN {
    for (i = 1; i <= n; i++)
      printf "%d: int value_%d = compute(%d, \"%s\");\n", i, i % 977, (i * 7) % 10007,
             substr("xxxxxxxxxxxxxxxxxxxxxxx", 1, i % 23)
  }' >"$2"
}

printf '%-10s %10s %12s %12s %10s %10s %12s\n' lines "load s" "1st paint s" "from start s" \
       "jump s" "peak MB" "bytes/line"
for n in $((lines / 4)) $((lines / 2)) "$lines"; do
  make_file "$n" "$work/text"
  out=$("$demo" -bench "$work/text")
  get() { sed -n "s/^$1: \([0-9.]*\).*/\1/p" <<<"$out"; }
  shown=$(get "last line shown")
  [ "$shown" = "$n" ] || { echo "textview.sh: last line shown was $shown, not $n" >&2; exit 1; }
  peak=$(get "peak memory")
  printf '%-10s %10s %12s %12s %10s %10s %12s\n' "$n" "$(get "load and lay out")" \
         "$(get "first paint after load")" "$(get "first paint from start")" \
         "$(get "jump to last line")" "$peak" "$((peak * 1048576 / n))"
done
