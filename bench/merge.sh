#!/usr/bin/env bash
# Benchmarks a three-way merge: files of 200,000 lines, each side changing
# 1% of the lines (side 1 every 100th line from line 1, side 2 every 100th
# from line 51, so no change meets another), merged in auto mode with the
# result written ("diffmerge -auto -o"), beside "git merge-file -p" on the
# same files.  Medians of 5 runs, side by side with their ratio; the two
# results must be the same text.  Two kinds of text: lines of program-like
# text, and lines that differ only in a number, on which the engine's line
# hash (a rotate-and-add) collides often, so that storing a line compares
# many texts.
#
#   bash bench/merge.sh [lines] [runs]
#
# Environment: BUILD_DIR (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${BUILD_DIR:-build}" 2>/dev/null && pwd || echo "$PWD/${BUILD_DIR:-build}")
lines=${1:-200000}
runs=${2:-5}
if [ ! -x "$build/bin/diffmerge" ]; then
  cmake -S . -B "$build" -G Ninja > /dev/null
  cmake --build "$build" --target diffmerge -j 1
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch

# make_sides NAME: NAME.base from the lines awk prints, NAME.one, NAME.two.
make_sides() {
  awk 'NR % 100 == 1 { print "side one changed " NR; next } { print }' "$scratch/$1.base" > "$scratch/$1.one"
  awk 'NR % 100 == 51 { print "side two changed " NR; next } { print }' "$scratch/$1.base" > "$scratch/$1.two"
}
seq 1 "$lines" | awk 'BEGIN { srand(7) }
  { printf "    value_%d = compute(%06x, \"%08x\") + offset;  // %d\n", NR % 977,
           int(rand() * 16777216), int(rand() * 2147483647), NR }' > "$scratch/code.base"
make_sides code
seq 1 "$lines" | awk '{ printf "line %d of the merge benchmark, a line of ordinary length\n", $1 }' \
  > "$scratch/numbered.base"
make_sides numbered

# medians COMMAND...: the median wall time and the median processor time
# (user and system) of `runs` runs, in ms.  The processor time is the
# steadier figure on a machine that others share.
medians() {
  local walls=() cpus=()
  for ((k = 0; k < runs; k++)); do
    /usr/bin/time -o "$scratch/time" -f '%e %U %S' "$@" > /dev/null
    read -r wall user sys < "$scratch/time"
    walls+=("$(awk -v w="$wall" 'BEGIN { printf "%d", w * 1000 }')")
    cpus+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%d", (u + s) * 1000 }')")
  done
  echo "$(printf '%s\n' "${walls[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")" \
       "$(printf '%s\n' "${cpus[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")"
}

printf '%-28s %20s %20s %12s\n' "$lines lines, auto, 1%+1%" "diffmerge" "git merge-file" "ratio"
printf '%-28s %20s %20s %12s\n' "" "wall / cpu" "wall / cpu" "wall / cpu"
for kind in code numbered; do
  one=$scratch/$kind.one two=$scratch/$kind.two base=$scratch/$kind.base
  read -r ours oursCpu < <(medians "$build/bin/diffmerge" -auto -o "$scratch/merged" "$one" "$two" "$base")
  git merge-file -p "$one" "$base" "$two" > "$scratch/git-merged"
  cmp -s "$scratch/merged" "$scratch/git-merged" || { echo "FAIL: $kind: results differ"; exit 1; }
  read -r theirs theirsCpu < <(medians git merge-file -p "$one" "$base" "$two")
  awk -v k="$kind lines" -v a="$ours" -v ac="$oursCpu" -v b="$theirs" -v bc="$theirsCpu" \
    'BEGIN { printf "%-28s %8d / %6d ms %8d / %6d ms %5.2f / %4.2f\n", k, a, ac, b, bc,
             a / (b ? b : 1), ac / (bc ? bc : 1) }'
done
