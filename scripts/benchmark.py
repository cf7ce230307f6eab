#!/usr/bin/env python3
"""Measures Postpone.exe under Wine and prints a table (figures are never
asserted in tests):

- spawn cost: list mode with 100 entries against a baseline that makes the
  same 100 hidden CreateProcessA calls in one loop, side by side;
- delay accuracy: 10 entries with delays of 1 to 10 s;
- the footprint of a copy waiting out its delay against a program that only
  sleeps;
- the size of the executable.

Run after the win32 build:  python3 scripts/benchmark.py [--runs N] [--write]
--write also records the table in docs/benchmarks.md.
"""
import argparse
import datetime
import os
import platform
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
os.environ.setdefault("POSTPONE_BUILD", os.path.join(ROOT, "build", "win32"))
os.environ.setdefault("WINEPREFIX", os.path.join(ROOT, "build", "win32", "wineprefix"))

import harness  # noqa: E402
from harness import (POSTPONE_EXE, PROBE_EXE, loaded_dlls_by_process, read_probe_log, run_exact,  # noqa: E402
                     wait_for_prefix_idle, wine_env, winpath)

TOOLS = os.path.join(harness.BUILD, "tests", "e2e")


def kill_prefix():
    subprocess.run(["wineserver", "-k"], env=wine_env(), check=False)
    wait_for_prefix_idle()


def timed(result):
    return float(result.output.split("ms=", 1)[1].split()[0])


def write_settings(folder, entries):
    with open(os.path.join(folder, "postpone.ini"), "w", newline="") as f:
        f.write("[Launch]\r\n")
        for n, (program, arguments, delay) in enumerate(entries, 1):
            f.write("Program%d=%s\r\nCmdLine%d=%s\r\nDelaySec%d=%d\r\n" % (n, program, n, arguments, n, delay))


def spawn_cost(work, runs):
    folder = os.path.join(work, "spawn")
    os.makedirs(folder)
    exe = os.path.join(folder, "Postpone.exe")
    shutil.copyfile(POSTPONE_EXE, exe)
    write_settings(folder, [("x.exe", "entry%d" % n, 3600) for n in range(1, 101)])
    baseline = os.path.join(TOOLS, "spawn_baseline.exe")
    postpone_ms, baseline_ms = [], []
    for _ in range(runs):
        result = run_exact('"%s"' % winpath(exe))
        assert result.exit_code == 100, result.output
        postpone_ms.append(timed(result))
        kill_prefix()
        result = run_exact('"%s"' % winpath(baseline), {"BASELINE_EXE": winpath(exe), "BASELINE_COUNT": "100"})
        assert result.exit_code == 100, result.output
        baseline_ms.append(timed(result))
        kill_prefix()
    p, b = statistics.median(postpone_ms), statistics.median(baseline_ms)
    return [("Spawn cost, 100 entries: list mode (median of %d)" % runs, "%.0f ms" % p),
            ("Spawn cost: baseline, 100 CreateProcessA calls in a loop", "%.0f ms" % b),
            ("Spawn cost ratio (goal <= 1.10)", "%.2f" % (p / b))]


def delay_accuracy(work):
    folder = os.path.join(work, "delays")
    os.makedirs(folder)
    exe = os.path.join(folder, "Postpone.exe")
    shutil.copyfile(POSTPONE_EXE, exe)
    probe = os.path.join(folder, "probe.exe")
    shutil.copyfile(PROBE_EXE, probe)
    write_settings(folder, [(winpath(probe), "delay%d" % d, d) for d in range(1, 11)])
    log = os.path.join(folder, "probe.log")
    result = run_exact('"%s"' % winpath(exe), {"PROBE_LOG": winpath(log)})
    t0 = int(result.output.split("t0=", 1)[1].split()[0])
    deadline = time.monotonic() + 30
    while len(read_probe_log(log)) < 10 and time.monotonic() < deadline:
        time.sleep(0.2)
    errors = []
    for start in read_probe_log(log):
        delay = int(start.command.decode().rsplit("delay", 1)[1])
        errors.append((start.ms - t0) / 1000.0 - delay)
    wait_for_prefix_idle()
    absolute = [abs(e) for e in errors]
    return [("Delay accuracy, 10 entries of 1-10 s: largest error (goal <= 1.0 s)", "%.2f s" % max(absolute)),
            ("Delay accuracy: median absolute error", "%.2f s" % statistics.median(absolute)),
            ("Delay accuracy: errors (+ late, - early)", " ".join("%+.2f" % e for e in sorted(errors)))]


def rss_kb(pattern):
    out = subprocess.run(["ps", "-eo", "rss,args"], capture_output=True, text=True).stdout
    for line in out.splitlines():
        if pattern in line and "ps -eo" not in line:
            return int(line.split()[0])
    raise RuntimeError("no process matching %r" % pattern)


def footprint(work):
    exe = os.path.join(work, "Postpone.exe")
    shutil.copyfile(POSTPONE_EXE, exe)
    stamp = round(time.time() % 86400)
    trace_path = os.path.join(work, "loaddll")
    with open(trace_path, "wb") as trace:
        waiting = subprocess.Popen(["wine", "start", "/unix", exe, "/E", "/P:x.exe", "/D:600", "/T:%d" % stamp],
                                   env=wine_env({"WINEDEBUG": "-all,+pid,+loaddll"}), stderr=trace)
        sleeper = subprocess.Popen(["wine", "start", "/unix", os.path.join(TOOLS, "sleeper.exe")], env=wine_env())
        time.sleep(5)
        waiting_kb = rss_kb("Postpone.exe /E /P:x.exe /D:600")
        sleeper_kb = rss_kb("sleeper.exe")
    kill_prefix()
    waiting.wait()
    sleeper.wait()
    with open(trace_path, encoding="latin-1") as f:
        by_process = loaded_dlls_by_process(f.read())
    [paths] = [paths for paths in by_process.values() if any(p.endswith("\\postpone.exe") for p in paths)]
    modules = [path.rsplit("\\", 1)[-1] for path in paths]
    return [("Waiting copy: resident memory", "%.1f MB" % (waiting_kb / 1024.0)),
            ("Program that only sleeps: resident memory", "%.1f MB" % (sleeper_kb / 1024.0)),
            ("Footprint ratio (goal <= 1.05)", "%.2f" % (waiting_kb / sleeper_kb)),
            ("Modules loaded by the waiting copy", ", ".join(modules))]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--runs", type=int, default=7, help="spawn-cost runs of each program (default 7)")
    parser.add_argument("--write", action="store_true", help="record the table in docs/benchmarks.md")
    options = parser.parse_args()

    harness.make_prefix()
    kill_prefix()
    work = tempfile.mkdtemp(prefix="postpone-bench-")
    try:
        rows = [("Executable size", "%d bytes" % os.path.getsize(POSTPONE_EXE))]
        rows += spawn_cost(work, options.runs)
        rows += delay_accuracy(work)
        rows += footprint(work)
    finally:
        kill_prefix()
        shutil.rmtree(work, ignore_errors=True)

    width = max(len(name) for name, _ in rows)
    table = ["| %s | %s |" % ("measure".ljust(width), "result"), "|%s|---|" % ("-" * (width + 2))]
    table += ["| %s | %s |" % (name.ljust(width), value) for name, value in rows]
    print("\n".join(table))
    if options.write:
        wine = subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip()
        header = ("Measured %s on %s (%s, %d cores), %s, by `python3 scripts/benchmark.py --runs %d --write`.\n" %
                  (datetime.date.today().isoformat(), platform.node() or "this machine", platform.machine(),
                   os.cpu_count(), wine, options.runs))
        path = os.path.join(ROOT, "docs", "benchmarks.md")
        with open(path) as f:
            text = f.read()
        begin, end = "<!-- results -->", "<!-- /results -->"
        before, rest = text.split(begin, 1)
        after = rest.split(end, 1)[1]
        with open(path, "w") as f:
            f.write(before + begin + "\n" + header + "\n" + "\n".join(table) + "\n" + end + after)


if __name__ == "__main__":
    main()
