#!/usr/bin/env python3
"""The viewer beside the peer viewers, measured one way for all.

Called by bench/viewer.sh with its pairs and its Xvfb (DISPLAY set):

    python3 bench/peers.py PAIRS-DIR VIEWER [runs]

For each pair (left_NAME.c, right_NAME.c) and each viewer installed
(diffview, xxdiff, diffuse, kdiff3, meld) it starts the viewer on the pair
with a private home, and measures the time from launch until a window of
the program is mapped and the program has gone quiet: its processes have
used no processor time for QUIET seconds; the time is that of their last
processor use.  Peak memory is the largest resident size of the program
(/usr/bin/time), which is then ended.  Medians of RUNS runs (default 1).
"""
import os, shutil, signal, statistics, subprocess, sys, tempfile, time

QUIET = 0.5       # seconds without processor use that count as quiet
LIMIT = 180.0     # seconds before a run is given up
TICK = os.sysconf("SC_CLK_TCK")
PEERS = ["xxdiff", "diffuse", "kdiff3", "meld"]


def tree(root):
    """The pids of root and its descendants."""
    children = {}
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % name) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            children.setdefault(int(fields[1]), []).append(int(name))
        except OSError:
            continue
    pids, todo = [], [root]
    while todo:
        pid = todo.pop()
        pids.append(pid)
        todo.extend(children.get(pid, []))
    return pids


def cpu(pids):
    total = 0
    for pid in pids:
        try:
            with open("/proc/%d/stat" % pid) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            total += int(fields[11]) + int(fields[12])
        except (OSError, IndexError, ValueError):
            continue
    return total


def mapped(pids):
    for pid in pids:
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                             capture_output=True, text=True).stdout
        if out.strip():
            return True
    return False


def one_run(command, home):
    rss = os.path.join(home, "rss")
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               NO_AT_BRIDGE="1")
    start = time.monotonic()
    timer = subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", rss] + command, env=env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                             start_new_session=True)
    seen_map, last_use, used = None, start, -1
    try:
        while time.monotonic() - start < LIMIT:
            now = time.monotonic()
            pids = tree(timer.pid)[1:]
            if timer.poll() is not None:
                raise RuntimeError("ended with status %s" % timer.returncode)
            total = cpu(pids)
            if total != used:
                used, last_use = total, now
            if seen_map is None and pids and mapped(pids):
                seen_map = now
            if seen_map is not None and now - last_use >= QUIET:
                return max(seen_map, last_use) - start, rss
            time.sleep(0.02)
        raise RuntimeError("not mapped and quiet within %d s" % LIMIT)
    finally:
        # The program goes, not /usr/bin/time, which then writes its figure.
        for sig in (signal.SIGTERM, signal.SIGKILL):
            for pid in tree(timer.pid)[1:]:
                try:
                    os.kill(pid, sig)
                except ProcessLookupError:
                    pass
            try:
                timer.wait(timeout=5)
                break
            except subprocess.TimeoutExpired:
                continue
        if timer.poll() is None:
            os.killpg(timer.pid, signal.SIGKILL)
            timer.wait()


def peak_mb(rss):
    try:
        lines = [l for l in open(rss).read().split() if l.isdigit()]
        return int(lines[-1]) / 1024 if lines else None
    except OSError:
        return None


def main():
    pairs, viewer = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    tools = [("diffview", [viewer, "-noclient"])]
    tools += [(p, [p]) for p in PEERS if shutil.which(p)]
    missing = [p for p in PEERS if not shutil.which(p)]
    names = [n for n in ("tiny", "2000", "20000", "200000")
             if os.path.exists(os.path.join(pairs, "left_%s.c" % n))]
    print("launch until a window is mapped and the program has gone quiet (%.1f s without"
          " processor use); peak resident memory; median of %d run(s)" % (QUIET, runs))
    if missing:
        print("not installed, left out: %s" % " ".join(missing))
    print("%-8s %-10s %10s %10s" % ("pair", "viewer", "seconds", "peak MB"))
    results = {}
    for name in names:
        left = os.path.join(pairs, "left_%s.c" % name)
        right = os.path.join(pairs, "right_%s.c" % name)
        for tool, command in tools:
            times, peaks = [], []
            for _ in range(runs):
                home = tempfile.mkdtemp(prefix="peer.")
                try:
                    extra = ["-configdir", home] if tool == "diffview" else []
                    seconds, rss = one_run(command + extra + [left, right], home)
                    times.append(seconds)
                    mb = peak_mb(rss)
                    if mb is not None:
                        peaks.append(mb)
                except RuntimeError as e:
                    print("%-8s %-10s failed: %s" % (name, tool, e))
                finally:
                    shutil.rmtree(home, ignore_errors=True)
            if times:
                t, m = statistics.median(times), max(peaks) if peaks else float("nan")
                results[(name, tool)] = (t, m)
                print("%-8s %-10s %10.2f %10.1f" % (name, tool, t, m))
    ahead = all((n, "diffview") in results and (n, t) in results and
                results[(n, "diffview")][0] < results[(n, t)][0] and
                results[(n, "diffview")][1] < results[(n, t)][1]
                for n in names for t, _ in tools[1:])
    print("diffview faster and smaller than every peer on every pair: %s" %
          ("PASS" if ahead and len(tools) > 1 else "MISS" if len(tools) > 1 else "no peers"))


if __name__ == "__main__":
    main()
