#!/usr/bin/env python3
"""Benchmark of one spin step (not a timed test).

In a scratch RCS repository and a scratch git repository, a file of 20,000
lines gets 200 versions (each changes two lines).  On a private Xvfb,
`diffview -noclient FILE` shows the newest version against the file on
disk; then the left "Previous" spin button is clicked RUNS times, and each
step is timed from the click until the window's published state says the
new pair has been painted (version fetched, compared, list row added,
rows painted).  Median and worst per system; target: within 150 ms.

    python3 bench/spin.py [build-dir] [runs]
"""
import os, shutil, statistics, subprocess, sys, tempfile, time

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(TOP, "bench"))
from hand_off import private_session, state, title  # noqa: E402

BUILD = sys.argv[1] if len(sys.argv) > 1 else os.path.join(TOP, "build")
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 10
VIEWER = os.path.join(BUILD, "bin", "diffview")
LINES, VERSIONS = 20000, int(os.environ.get("SPIN_VERSIONS", 200))


def version_text(k):
    lines = ["line %d of the benchmark file, long enough to be a real line" % (i + 1)
             for i in range(LINES)]
    for j in range(2, k + 1):
        lines[(j * 97) % LINES] = "edited in version %d" % j
        lines[(j * 31) % LINES] = "edited in version %d" % j
    return "\n".join(lines) + "\n"


def run(args, cwd, env):
    subprocess.run(args, cwd=cwd, env=env, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)


def make_rcs(folder, env):
    os.makedirs(os.path.join(folder, "RCS"))
    name = os.path.join(folder, "big.txt")
    for k in range(1, VERSIONS + 1):
        open(name, "w").write(version_text(k))
        run(["ci", "-q", "-l", "-t-bench", "-mv%d" % k, "big.txt"], folder, env)
    return name


def make_git(folder, env):
    os.makedirs(folder)
    run(["git", "init", "-q"], folder, env)
    name = os.path.join(folder, "big.txt")
    for k in range(1, VERSIONS + 1):
        open(name, "w").write(version_text(k))
        run(["git", "add", "big.txt"], folder, env)
        run(["git", "commit", "-q", "-m", "v%d" % k], folder, env)
    return name


def wait_state(window, ready, limit=30.0):
    deadline = time.time() + limit
    while time.time() < deadline:
        s = state(window)
        if ready(s):
            return s
        time.sleep(0.002)
    raise RuntimeError("the viewer did not get there: %s" % state(window))


def steps(name, env):
    errors = open(os.path.join(env["TMPDIR"], "viewer.err"), "w+")
    proc = subprocess.Popen([VIEWER, "-noclient", name], env=env, stdout=subprocess.DEVNULL,
                            stderr=errors)
    try:
        window = None
        deadline = time.time() + 60
        while not window and time.time() < deadline:
            out = subprocess.run(["xdotool", "search", "--name", "big.txt"],
                                 capture_output=True, text=True).stdout.split()
            window = next((w for w in out if "Diff Viewer" in title(w)), None)
            time.sleep(0.05)
        if not window:
            errors.seek(0)
            shown = subprocess.run(["xdotool", "search", "--name", "."], capture_output=True,
                                   text=True).stdout.split()
            raise RuntimeError("no viewer window for %s (windows: %s): %s" %
                               (name, [title(w) for w in shown], errors.read()))
        s = wait_state(window, lambda s: s.get("painted") == "1" and "leftspinrect" in s)
        x, y, w, h = map(int, s["leftspinrect"].split())
        times = []
        for _ in range(RUNS):
            rows = int(s["listrows"])
            subprocess.run(["xdotool", "mousemove", "--window", window, str(x + 3 * w // 4),
                            str(y + h // 2)], check=True)
            start = time.time_ns() // 1000
            subprocess.run(["xdotool", "click", "1"], check=True)
            s = wait_state(window, lambda s: int(s.get("listrows", 0)) == rows + 1 and
                           s.get("painted") == "1" and int(s.get("paintedat", 0)) >= start)
            times.append((int(s["paintedat"]) - start) / 1000.0)
        return times
    finally:
        proc.kill()
        proc.wait()


def main():
    work = tempfile.mkdtemp(prefix="spin.")
    xvfb = None
    try:
        xvfb, env = private_session(
            work, GIT_CEILING_DIRECTORIES=work, GIT_AUTHOR_NAME="bench",
            GIT_AUTHOR_EMAIL="bench@example.org", GIT_COMMITTER_NAME="bench",
            GIT_COMMITTER_EMAIL="bench@example.org")
        print("one spin step on a %d-line file with %d versions, from the click until the"
              " new pair is painted; %d steps back from the newest version" %
              (LINES, VERSIONS, RUNS))
        print("%-6s %10s %10s %8s" % ("system", "median ms", "worst ms", "target"))
        for system, make in (("RCS", make_rcs), ("git", make_git)):
            # (a folder named "RCS" would be taken for RCS's own folder)
            times = steps(make(os.path.join(work, system.lower()), env), env)
            median = statistics.median(times)
            print("%-6s %10.1f %10.1f %8s" % (system, median, max(times),
                                              "met" if median <= 150 else "MISSED"))
    finally:
        if xvfb:
            xvfb.terminate()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
