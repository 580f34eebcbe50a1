#!/usr/bin/env bash
# Benchmarks the version-control service (bench/vc_bench.cpp): for RCS,
# CVS, git and KVC, a file of 20,000 lines with 200 versions is made in a
# scratch directory; then fetching its version 100 through the service is
# timed beside the system's own command ("co -p", "cvs update -p",
# "git show", "kvc co"), and its history through the service.  The
# service should add at most 20 ms.  The router and vc_service run
# privately (own TMPDIR and HOME).
#
#   bash bench/vc.sh [repeat]
#
# Environment: BUILD_DIR (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${BUILD_DIR:-build}" 2>/dev/null && pwd || echo "$PWD/${BUILD_DIR:-build}")
repeat=${1:-20}
if [ ! -x "$build/bin/vc_bench" ]; then
  cmake -S . -B "$build" -G Ninja > /dev/null
  cmake --build "$build" --target vc_bench -j 1
fi
bin=$build/bin
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch HOME=$scratch SVC_ROUTER_IDLE_MS=300
export GIT_AUTHOR_NAME=bench GIT_AUTHOR_EMAIL=bench@example.org
export GIT_COMMITTER_NAME=bench GIT_COMMITTER_EMAIL=bench@example.org

# Version k changes lines k*97 and k*31 (mod 20,000) of version k-1.
seq 1 20000 | sed 's/.*/line & of the benchmark file, long enough to be a real line/' > "$scratch/base"
# Each version gets its own modification time: cvs tells changes by it.
start=$(date +%s)
edit() {
  awk -v k="$1" 'NR == (k * 97) % 20000 + 1 || NR == (k * 31) % 20000 + 1 {
                   print "edited in version " k; next } { print }' "$2" > "$2.new"
  mv -f "$2.new" "$2"
  touch -d "@$((start + $1))" "$2"
}
# make_versions DIR CHECKIN...: the file "big.txt" in DIR with 200
# versions, each checked in by the command given.
make_versions() {
  local dir=$1; shift
  cp "$scratch/base" "$dir/big.txt"
  for k in $(seq 1 200); do
    [ "$k" -eq 1 ] || { chmod u+w "$dir/big.txt"; edit "$k" "$dir/big.txt"; }
    (cd "$dir" && "$@" "$k") > /dev/null 2>&1
  done
}

mkdir -p "$scratch/rcs/RCS"
rcs_ci() { if [ "$1" -eq 1 ]; then ci -q -i -l -t-bench big.txt; else ci -q -l -m"v$1" big.txt; fi; }
make_versions "$scratch/rcs" rcs_ci
"$bin/vc_bench" RCS "$scratch/rcs/big.txt" 1.100 "$repeat" co -q -p1.100 big.txt

cvs -d "$scratch/cvsroot" init && mkdir "$scratch/cvsroot/mod"
(cd "$scratch" && cvs -Q -d "$scratch/cvsroot" checkout -d cvs mod)
cvs_ci() { if [ "$1" -eq 1 ]; then cvs -Q add big.txt; fi; cvs -Q commit -m "v$1" big.txt; }
make_versions "$scratch/cvs" cvs_ci
"$bin/vc_bench" CVS "$scratch/cvs/big.txt" 1.100 "$repeat" cvs -Q update -p -r 1.100 big.txt

mkdir "$scratch/git" && git -C "$scratch/git" init -q
git_ci() { git add big.txt && git commit -q -m "v$1"; }
make_versions "$scratch/git" git_ci
rev=$(git -C "$scratch/git" log --format=%h --skip=100 -1)
"$bin/vc_bench" Git "$scratch/git/big.txt" "$rev" "$repeat" git show "$rev:./big.txt"

mkdir "$scratch/kvc"
kvc_ci() { "$bin/kvc" ci -m "v$1" big.txt; }
make_versions "$scratch/kvc" kvc_ci
"$bin/vc_bench" KVC "$scratch/kvc/big.txt" 100 "$repeat" "$bin/kvc" co -r 100 big.txt
