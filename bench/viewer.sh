#!/usr/bin/env bash
# Benchmark of the viewer's start-up (not a timed test).  On a private Xvfb,
# with a private home and configuration directory, the viewer is started on
# generated pairs of 2,000, 20,000 and 200,000 source-like lines (about 1% of
# the lines changed, deleted or inserted; fixed seeds) and on a tiny pair.
# For each pair and each of N runs it measures the wall time from launch
# until the window's published state (_DIFFVIEW_STATE) says "painted=1",
# i.e. the left text has been painted once, and the peak resident memory
# (/usr/bin/time -f %M); the window is then closed with Ctrl+Q and the
# program must exit with status 0.  GNU diff is timed on the same pairs for
# scale.  Prints one table and the start-up targets with PASS or MISS, then
# the peer viewers (xxdiff, diffuse, kdiff3, meld) beside diffview on the
# same pairs, all measured one way (bench/peers.py); PEERS=0 leaves them out.
#
#   bench/viewer.sh [build-dir] [runs]
#
# A run that does not paint or exit within 30 s (LIMIT in the environment)
# is given up and reported.
set -u

top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
runs=${2:-3}
viewer=$build/bin/diffview
limit=${LIMIT:-30}  # seconds before a run is given up
poll=0.05           # seconds between looks at the window state

if [ ! -x "$viewer" ]; then
  echo "viewer.sh: $viewer is missing; build the diffview target first" >&2
  exit 1
fi
for tool in Xvfb xdotool xprop diff python3 /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "viewer.sh: $tool is not installed" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=
run_pid=
cleanup() {
  if [ -n "$run_pid" ]; then
    stop_run "$run_pid"
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Ends a run started under /usr/bin/time: the viewer (its child), then time.
stop_run() {
  local child
  for child in $(pgrep -P "$1" 2>/dev/null); do kill -9 "$child" 2>/dev/null; done
  kill -9 "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}

# Times are whole microseconds from the shell's own clock (EPOCHREALTIME),
# and the pauses between looks are timed reads on a private pipe, so that
# the polling starts no processes beyond the X clients themselves.
# Seconds (four decimals) between two times in microseconds.
elapsed() { printf '%d.%04d' $(( ($2 - $1) / 1000000 )) $(( ($2 - $1) % 1000000 / 100 )); }
nap() { read -r -t "$1" -u "$nap_fd" _ 2>/dev/null; }
# Median of the arguments (numbers); "-" when there are none.
median() {
  [ $# -eq 0 ] && { echo -; return; }
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
    if (NR % 2) printf "%.4f", v[(NR + 1) / 2]; else printf "%.4f", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

. "$(dirname "$0")/xvfb.sh"

mkfifo "$work/nap"
exec {nap_fd}<>"$work/nap"

# The pairs: left_NAME.c and right_NAME.c in $work/pairs.
mkdir -p "$work/pairs" "$work/home"
python3 - "$top/bench" "$work/pairs" <<'EOF' || { echo "viewer.sh: could not make the pairs" >&2; exit 1; }
import os, random, sys
sys.path.insert(0, sys.argv[1])
from gen_pairs import code_line, scatter_edits, write

out = sys.argv[2]
for seed, n in ((11, 2000), (12, 20000), (13, 200000)):
    rng = random.Random(seed)
    left = [code_line(rng) for _ in range(n)]
    right = scatter_edits(rng, left, 0.01, code_line)
    write(os.path.join(out, "left_%d.c" % n), left)
    write(os.path.join(out, "right_%d.c" % n), right)
tiny = ["int main(void) {", "    int count = 0;", "    count += 1;", "    return count;", "}"]
changed = ["int main(void) {", "    int count = 1;", "    count += 1;", "    count *= 2;",
           "    return count;", "}"]
write(os.path.join(out, "left_tiny.c"), tiny)
write(os.path.join(out, "right_tiny.c"), changed)
EOF

# One start of the viewer on a pair.  Sets paint_s (seconds from launch to
# "painted=1"), peak_kb, polls and paint_note (the exit status when it was
# not 0), or prints why the run failed and returns 1.
paint_s= peak_kb= polls= paint_note=
one_run() {
  local name=$1 left=$work/pairs/left_$1.c right=$work/pairs/right_$1.c
  local cfg=$work/config.$name.$2 rss=$work/rss.$name.$2 log=$work/log.$name.$2
  local t0 t1 win= w state status
  rm -rf "$cfg"; mkdir -p "$cfg"
  paint_s= peak_kb= polls=0 paint_note=
  t0=${EPOCHREALTIME/./}
  HOME=$work/home XDG_CONFIG_HOME=$work/home/.config \
    /usr/bin/time -f %M -o "$rss" "$viewer" -configdir "$cfg" -noclient "$left" "$right" \
    >"$log" 2>&1 &
  run_pid=$!
  while :; do
    polls=$((polls + 1)) state=
    if [ -z "$win" ]; then
      for w in $(xdotool search --name "left_$name\\.c" 2>/dev/null); do
        state=$(xprop -id "$w" _DIFFVIEW_STATE 2>/dev/null)
        case $state in *'= "'*) win=$w; break ;; esac
      done
    else
      state=$(xprop -id "$win" _DIFFVIEW_STATE 2>/dev/null)
    fi
    # The window tells when it painted, so the time between looks does
    # not blur the figure.
    case $state in *'\npainted=1\n'*)
      t1=${EPOCHREALTIME/./}
      case $state in *'\npaintedat='[0-9]*) t1=${state##*\\npaintedat=}; t1=${t1%%\\n*} ;; esac
      break ;;
    esac
    if ! kill -0 "$run_pid" 2>/dev/null; then
      wait "$run_pid"; status=$?; run_pid=
      echo "viewer.sh: $name run $2: the viewer exited with status $status before painting" >&2
      sed 's/^/  | /' "$log" | tail -n 5 >&2
      return 1
    fi
    if [ $(( ${EPOCHREALTIME/./} - t0 )) -ge $(( limit * 1000000 )) ]; then
      stop_run "$run_pid"; run_pid=
      echo "viewer.sh: $name run $2: no first paint within ${limit} s; given up" >&2
      return 1
    fi
    nap "$poll"
  done
  paint_s=$(elapsed "$t0" "$t1")

  # Close with Ctrl+Q and wait for the exit.
  xdotool key --window "$win" ctrl+q >/dev/null 2>&1
  t0=${EPOCHREALTIME/./}
  while kill -0 "$run_pid" 2>/dev/null; do
    if [ $(( ${EPOCHREALTIME/./} - t0 )) -ge $(( limit * 1000000 )) ]; then
      stop_run "$run_pid"; run_pid=
      echo "viewer.sh: $name run $2: still running ${limit} s after Ctrl+Q; killed" >&2
      return 1
    fi
    nap 0.01
  done
  wait "$run_pid"; status=$?; run_pid=
  if [ "$status" -ne 0 ]; then
    echo "viewer.sh: $name run $2: exited with status $status after Ctrl+Q" >&2
    sed 's/^/  | /' "$log" | tail -n 5 >&2
    paint_note="(exit $status)"
  fi
  peak_kb=$(grep -E '^[0-9]+$' "$rss" | tail -n1)
  return 0
}

# GNU diff on a pair, in seconds; status 0 or 1 is a success.
diff_s=
time_diff() {
  local t0 t1 status
  t0=${EPOCHREALTIME/./}
  diff "$work/pairs/left_$1.c" "$work/pairs/right_$1.c" >/dev/null 2>&1
  status=$?
  t1=${EPOCHREALTIME/./}
  [ "$status" -le 1 ] || { echo "viewer.sh: diff on $1 failed with status $status" >&2; diff_s=; return 1; }
  diff_s=$(elapsed "$t0" "$t1")
}

declare -A med_paint
printf '%-8s %8s %18s %9s %11s %7s %8s   %s\n' pair lines "1st paint s (med)" "peak MB" \
       "GNU diff s" ratio "look ms" "runs: 1st paint s"
for name in tiny 2000 20000 200000; do
  paints=() peaks=() diffs=() shown=() all_polls=0 all_paint=0
  for r in $(seq "$runs"); do
    if one_run "$name" "$r"; then
      paints+=("$paint_s"); shown+=("$paint_s$paint_note")
      all_polls=$((all_polls + polls)) all_paint=$(awk -v a="$all_paint" -v b="$paint_s" 'BEGIN { print a + b }')
      [ -n "$peak_kb" ] && peaks+=("$peak_kb")
    else
      shown+=("failed")
    fi
    time_diff "$name" && diffs+=("$diff_s")
  done
  paint=$(median "${paints[@]}")
  med_paint[$name]=$paint
  if [ ${#peaks[@]} -gt 0 ]; then
    peak=$(printf '%s\n' "${peaks[@]}" | sort -n | tail -n1 | awk '{ printf "%.1f", $1 / 1024 }')
  else
    peak=-
  fi
  dt=$(median "${diffs[@]}")
  if [ "$paint" != - ] && [ "$dt" != - ]; then
    ratio=$(awk -v p="$paint" -v d="$dt" 'BEGIN { if (d > 0) printf "%.1f", p / d; else print "-" }')
  else
    ratio=-
  fi
  look=$(awk -v t="$all_paint" -v n="$all_polls" 'BEGIN { if (n) printf "%.1f", 1000 * t / n; else print "-" }')
  printf '%-8s %8s %18s %9s %11s %7s %8s   %s\n' "$name" "$(wc -l <"$work/pairs/left_$name.c")" \
         "$paint" "$peak" "$dt" "$ratio" "$look" "${shown[*]}"
done
echo "(median of $runs runs; ratio = first paint / GNU diff; peak MB is the largest of the runs;"
echo " look ms is the mean time between looks at the window state, which bounds the resolution)"

verdict() {  # verdict LABEL MEASURED LIMIT
  local v=MISS
  [ "$2" != - ] && awk -v m="$2" -v l="$3" 'BEGIN { exit !(m <= l) }' && v=PASS
  printf '%-46s %8s s  (target %s s)  %s\n' "$1" "$2" "$3" "$v"
}
echo
verdict "first paint, 200,000-line pair" "${med_paint[200000]}" 0.5
verdict "first paint, tiny pair" "${med_paint[tiny]}" 0.15

# The peer viewers on the same pairs, each measured the same way as the
# viewer (bench/peers.py: launch until mapped and quiet, peak memory).  The
# benchmark installs the missing ones itself when run as root (they are no
# part of the project's dependencies); PEERS=0 leaves them all out.
if [ "${PEERS:-1}" != 0 ]; then
  missing=
  for peer in xxdiff diffuse kdiff3 meld; do
    command -v "$peer" >/dev/null || missing="$missing $peer"
  done
  if [ -n "$missing" ] && [ "$(id -u)" = 0 ]; then
    echo "viewer.sh: installing the peer viewers:$missing" >&2
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing \
      >"$work/peers-install.log" 2>&1 || echo "viewer.sh: could not install$missing" >&2
  fi
  echo
  python3 "$top/bench/peers.py" "$work/pairs" "$viewer" "${PEER_RUNS:-1}"
fi
