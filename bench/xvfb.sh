# Sourced by the benchmarks: a private X server on a free display number
# (chosen by the server itself), waited for within 10 s.  Needs $work (a
# scratch folder); sets xvfb_pid and DISPLAY.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "${0##*/}: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$work/display")
