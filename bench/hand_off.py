#!/usr/bin/env python3
"""Benchmark of the hand-off to a running viewer (not a timed test).

On a private Xvfb, with a private home and temporary folder, for the pairs
tiny, 2,000, 20,000 and 200,000 source-like lines (bench/gen_pairs.py), it
measures from a command's start until a window's published state
(_DIFFVIEW_STATE) says the pair has been painted:
  local  - `diffview -noclient L R`, the command's own window;
  cold   - `diffview L R` when neither router nor viewer runs (the router
           is started, it starts the viewer, the command hands off);
  warm   - `diffview L R` while the viewer runs: the pair replaces the one
           shown in its window.
Medians of RUNS runs (default 5).  Targets: warm within 100 ms for the tiny
pair and never slower than local; cold within 1.5 times local.

    python3 bench/hand_off.py [build-dir] [runs]
"""
import os, random, re, shutil, signal, statistics, subprocess, sys, tempfile, time

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(TOP, "bench"))
from gen_pairs import code_line, scatter_edits, write  # noqa: E402

BUILD = sys.argv[1] if len(sys.argv) > 1 else os.path.join(TOP, "build")
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 5
VIEWER = os.path.join(BUILD, "bin", "diffview")
LIMIT = 60.0


def make_pairs(folder):
    names = []
    for seed, n in ((11, 2000), (12, 20000), (13, 200000)):
        rng = random.Random(seed)
        left = [code_line(rng) for _ in range(n)]
        write(os.path.join(folder, "left_%d.c" % n), left)
        write(os.path.join(folder, "right_%d.c" % n), scatter_edits(rng, left, 0.01, code_line))
        names.append(str(n))
    write(os.path.join(folder, "left_tiny.c"), ["int main(void) {", "  return 0;", "}"])
    write(os.path.join(folder, "right_tiny.c"), ["int main(void) {", "  return 1;", "}"])
    return ["tiny"] + names


def windows():
    out = subprocess.run(["xdotool", "search", "--name", "Diff Viewer"],
                         capture_output=True, text=True).stdout
    return [w for w in out.split()]


def state(window):
    out = subprocess.run(["xprop", "-id", window, "_DIFFVIEW_STATE"],
                         capture_output=True, text=True).stdout
    text = out.split("=", 1)[1].strip().strip('"').encode().decode("unicode_escape") if "=" in out else ""
    return dict(line.split("=", 1) for line in text.split("\n") if "=" in line)


def title(window):
    return subprocess.run(["xdotool", "getwindowname", window],
                          capture_output=True, text=True).stdout.strip()


def painted_after(start_us, left):
    """Seconds from start until a window showing `left` says it painted."""
    deadline = time.time() + LIMIT
    base = os.path.basename(left)
    while time.time() < deadline:
        for w in windows():
            if base not in title(w):
                continue
            s = state(w)
            if s.get("painted") == "1" and int(s.get("paintedat", "0")) >= start_us:
                return (int(s["paintedat"]) - start_us) / 1e6, w
        time.sleep(0.005)
    raise RuntimeError("no paint of %s within %d s" % (base, LIMIT))


def close_all():
    for w in windows():
        subprocess.run(["xdotool", "windowfocus", "--sync", w, "key", "ctrl+q"],
                       capture_output=True)


def stop_router(env):
    for name in os.listdir(env["TMPDIR"]):
        if name.startswith("svc_"):
            text = open(os.path.join(env["TMPDIR"], name)).read()
            pid = re.search(r"Pid\D*(\d+)", text)
            if pid:
                os.kill(int(pid.group(1)), signal.SIGTERM)
    subprocess.run(["pkill", "-f", "diffview -connect_servicerouter"], capture_output=True)
    time.sleep(0.3)


def pair(folder, name):
    return os.path.join(folder, "left_%s.c" % name), os.path.join(folder, "right_%s.c" % name)


def local_run(env, folder, name):
    left, right = pair(folder, name)
    start = time.time_ns() // 1000
    errors = os.path.join(env["TMPDIR"], "..", "local.err")
    with open(errors, "w") as err:
        proc = subprocess.Popen([VIEWER, "-noclient", left, right], env=env,
                                stdout=subprocess.DEVNULL, stderr=err)
    try:
        seconds, _ = painted_after(start, left)
    except RuntimeError:
        proc.kill()
        raise RuntimeError("no paint; status %s; %s" % (proc.wait(), open(errors).read()))
    close_all()
    proc.wait(timeout=LIMIT)
    return seconds


def hand_off(env, left, right):
    start = time.time_ns() // 1000
    subprocess.run([VIEWER, left, right], env=env, check=True, timeout=LIMIT,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return painted_after(start, left)[0]


def private_session(work, **extra):
    """A private Xvfb for the benchmark, and the environment of a private
    home and temporary folder under `work` on it; (Xvfb process, env)."""
    display_file = os.path.join(work, "display")
    with open(display_file, "w") as fd:
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(fd.fileno()), "-screen", "0",
                                 "1280x1024x24", "-nolisten", "tcp"],
                                pass_fds=[fd.fileno()], stderr=subprocess.DEVNULL)
    for _ in range(100):
        if open(display_file).read().strip():
            break
        time.sleep(0.1)
    env = dict(os.environ, DISPLAY=":" + open(display_file).read().split()[0],
               HOME=os.path.join(work, "home"), TMPDIR=os.path.join(work, "tmp"), **extra)
    os.environ["DISPLAY"] = env["DISPLAY"]  # for xdotool and xprop too
    os.makedirs(env["HOME"]), os.makedirs(env["TMPDIR"])
    return xvfb, env


def main():
    work = tempfile.mkdtemp(prefix="hand_off.")
    xvfb = None
    try:
        xvfb, env = private_session(work)
        folder = os.path.join(work, "pairs")
        os.makedirs(folder)
        names = make_pairs(folder)
        rows = []
        for name in names:
            local = [local_run(env, folder, name) for _ in range(RUNS)]
            cold, warm = [], []
            for _ in range(RUNS):
                cold.append(hand_off(env, *pair(folder, name)))
                # warm: a different pair first, then this one into the same window
                hand_off(env, *pair(folder, "tiny" if name != "tiny" else names[1]))
                warm.append(hand_off(env, *pair(folder, name)))
                close_all()
                stop_router(env)
            rows.append((name, statistics.median(local), statistics.median(cold),
                         statistics.median(warm)))
        print("seconds from a command's start until the pair is painted; median of %d" % RUNS)
        print("%-8s %9s %9s %9s %11s %11s" % ("pair", "local", "cold", "warm", "cold/local",
                                              "warm/local"))
        for name, local, cold, warm in rows:
            print("%-8s %9.4f %9.4f %9.4f %11.2f %11.2f" % (name, local, cold, warm,
                                                          cold / local, warm / local))
        tiny_warm = rows[0][3]
        print("warm tiny <= 0.100 s: %s" % ("PASS" if tiny_warm <= 0.1 else "MISS"))
        print("warm <= local on every pair: %s" %
              ("PASS" if all(r[3] <= r[1] for r in rows) else "MISS"))
        print("cold <= 1.5 x local on every pair: %s" %
              ("PASS" if all(r[2] <= 1.5 * r[1] for r in rows) else "MISS"))
    finally:
        if xvfb:
            xvfb.terminate()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
