#!/usr/bin/env python3
"""Benchmark: vdiff against GNU diff and `git diff --no-index`.

usage: bench.py [--vdiff PATH] [--scratch DIR] [--runs N] [PAIR ...]

Generates the file pairs (gen_pairs.py) in the scratch directory, runs every
tool on every pair N times (files are in the page cache after the first
run), and prints for each pair the best wall time and the peak memory of
each tool, their ratios to vdiff's, and how many lines each marks as
changed (vdiff with its refinement of repetitive stretches, and with
-norefine, the engine's first pairing).  A summary then sets vdiff beside
GNU diff on every pair: time, peak memory and changed lines, with their
ratios.  Last it times vdiff on the heavy-duplicates pair at three sizes
to show that the duplicate passes grow linearly.
"""
import argparse
import os
import re
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))

# pair name, options, description
RUNS = [
    ("code1m", [], "1,000,000 code-like lines, ~1% scattered edits"),
    ("dups200k", [], "200,000 lines from 20 texts, ~1% edits"),
    ("rep200k", [], "200,000 lines from 6 texts, ~0.5% edits, half from the same texts"),
    ("unrelated200k", [], "two unrelated 200,000-line files"),
    ("moves200k", [], "200,000 lines, 50 moved blocks"),
    ("long1k", [], "1,000 lines of 100,000 bytes, ~5% edits"),
    ("space1m", ["-b"], "1,000,000 lines, right side respaced (-b)"),
    ("space1m", ["-w"], "1,000,000 lines, right side respaced (-w)"),
    ("crlf1m", [], "code1m with CR LF endings"),
]
GIT_ALGORITHMS = ("myers", "patience", "histogram")


def tools_for(vdiff, options):
    """(label, command prefix, counter) for every tool."""
    tools = [("vdiff", [vdiff] + options, count_vdiff),
             ("vdiff -norefine", [vdiff, "-norefine"] + options, count_vdiff),
             ("GNU diff", ["diff"] + options, count_gnu)]
    for algorithm in GIT_ALGORITHMS:
        tools.append(("git " + algorithm,
                      ["git", "diff", "--no-index", "--no-color", "--no-ext-diff",
                       "--diff-algorithm=" + algorithm] + options, count_git))
    return tools


def count_vdiff(path):
    changed = 0
    with open(path, "rb") as f:
        for line in f:
            m = re.match(rb"(\d+),(\d+) (\d+),(\d+)$", line.strip())
            if m:
                a, b, c, d = map(int, m.groups())
                changed += (b - a) + (d - c)
    return changed


def count_gnu(path):
    with open(path, "rb") as f:
        return sum(1 for line in f if line.startswith((b"< ", b"> ", b"<\n", b">\n")))


def count_git(path):
    changed = 0
    headers = 0
    with open(path, "rb") as f:
        for line in f:
            if line.startswith(b"diff --git") or line.startswith(b"index "):
                headers = 2  # the next "---" and "+++" lines are headers
                continue
            if headers and (line.startswith(b"--- ") or line.startswith(b"+++ ")):
                headers -= 1
                continue
            if line[:1] in (b"+", b"-"):
                changed += 1
    return changed


def measure(command, out_path, time_path):
    """Runs once; returns (wall seconds, peak KB).  The wall time is taken
    here, to the microsecond (time(1) gives hundredths); time(1) gives the
    peak memory."""
    with open(out_path, "wb") as out:
        start = time.perf_counter()
        subprocess.run(["/usr/bin/time", "-f", "%M", "-o", time_path] + command,
                       stdout=out, stderr=subprocess.DEVNULL, env=dict(os.environ, LC_ALL="C"))
        wall = time.perf_counter() - start
    with open(time_path) as f:
        peak = int(f.read().split()[-1])
    return wall, peak


def best_of(command, runs, scratch):
    out_path = os.path.join(scratch, "out.txt")
    time_path = os.path.join(scratch, "time.txt")
    results = [measure(command, out_path, time_path) for _ in range(runs)]
    return min(r[0] for r in results), min(r[1] for r in results), out_path


def load_average():
    with open("/proc/loadavg") as f:
        return f.read().split()[0]


def bench_pair(vdiff, name, options, description, runs, scratch):
    """Prints one pair's table; returns {tool: (wall, peak KB, changed)}."""
    one, two = (os.path.join(scratch, name + s) for s in (".1", ".2"))
    size_mb = (os.path.getsize(one) + os.path.getsize(two)) / 1e6
    print("\n%s %s: %s (%.0f MB in both files, load %s)"
          % (name, " ".join(options), description, size_mb, load_average()))
    print("  %-16s %9s %9s %12s %11s %11s" % ("tool", "wall s", "peak MB", "changed",
                                             "vdiff/tool", "vdiff/tool"))
    print("  %-16s %9s %9s %12s %11s %11s" % ("", "", "", "lines", "time", "memory"))
    base = None
    results = {}
    for label, command, counter in tools_for(vdiff, options):
        wall, peak, out = best_of(command + [one, two], runs, scratch)
        changed = counter(out)
        results[label] = (wall, peak, changed)
        if base is None:
            base = (wall, peak)
        print("  %-16s %9.3f %9.1f %12d %11.2f %11.2f"
              % (label, wall, peak / 1024, changed, base[0] / wall if wall else 0,
                 base[1] / peak if peak else 0))
        sys.stdout.flush()
    return results


def ratio(a, b):
    return a / b if b else float("inf") if a else 1.0


def print_summary(rows):
    """vdiff beside GNU diff on every pair, with the targets: faster (except on
    the repetitive pair), no more memory, changed lines within 1.1 times on
    the repetitive pair."""
    print("\nSummary: vdiff against GNU diff (ratios vdiff/GNU; targets: time < 1 except"
          " rep200k, memory <= 1, changed <= 1.1 on rep200k)")
    print("  %-16s %8s %8s %6s %8s %8s %6s %9s %9s %6s  %s"
          % ("pair", "vdiff s", "GNU s", "ratio", "vdiff MB", "GNU MB", "ratio",
             "vdiff chg", "GNU chg", "ratio", "targets"))
    for label, results in rows:
        vw, vp, vc = results["vdiff"]
        gw, gp, gc = results["GNU diff"]
        missed = []
        if ratio(vp, gp) > 1:
            missed.append("memory")
        if label.startswith("rep"):
            if ratio(vc, gc) > 1.1:
                missed.append("changed")
        elif ratio(vw, gw) >= 1:
            missed.append("time")
        print("  %-16s %8.3f %8.3f %6.2f %8.1f %8.1f %6.2f %9d %9d %6.2f  %s"
              % (label, vw, gw, ratio(vw, gw), vp / 1024, gp / 1024, ratio(vp, gp), vc, gc,
                 ratio(vc, gc), "missed: " + ", ".join(missed) if missed else "met"))


def bench_growth(vdiff, runs, scratch):
    print("\nDuplicate passes: vdiff on the heavy-duplicates pair at three sizes")
    print("  %-10s %9s %14s" % ("lines", "wall s", "us per line"))
    for name, lines in (("dups50k", 50000), ("dups100k", 100000), ("dups200k", 200000)):
        one, two = (os.path.join(scratch, name + s) for s in (".1", ".2"))
        wall, _, _ = best_of([vdiff, one, two], runs, scratch)
        print("  %-10d %9.3f %14.2f" % (lines, wall, wall / lines * 1e6))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--vdiff", required=True)
    parser.add_argument("--scratch", required=True)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("pairs", nargs="*")
    args = parser.parse_args()
    names = sorted({r[0] for r in RUNS} | {"dups50k", "dups100k"})
    wanted = args.pairs or names
    subprocess.run([sys.executable, os.path.join(HERE, "gen_pairs.py"), args.scratch] + wanted,
                   check=True)
    print("vdiff: %s; best of %d runs; files in the page cache; %d cores"
          % (args.vdiff, args.runs, os.cpu_count()))
    rows = []
    for name, options, description in RUNS:
        if name in wanted:
            results = bench_pair(args.vdiff, name, options, description, args.runs,
                                 args.scratch)
            rows.append((" ".join([name] + options), results))
    print_summary(rows)
    if {"dups50k", "dups100k", "dups200k"} <= set(wanted):
        bench_growth(args.vdiff, args.runs, args.scratch)


if __name__ == "__main__":
    main()
