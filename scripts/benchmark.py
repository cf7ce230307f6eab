#!/usr/bin/env python3
"""Measures Postpone.exe under Wine and prints a table (figures are never
asserted in tests):

- spawn cost: list mode with 100 entries, without and with a record of
  starts (LogFile), against a baseline that makes the same 100 hidden
  CreateProcessA calls in one loop, side by side;
- delay accuracy: 10 entries with delays of 1 to 10 s;
- the footprint of a copy waiting out its delay, of one that will write the
  record when it is done, of one waiting for a path and of one waiting for a
  quiet machine, against a program that only sleeps;
- the processor time a copy waiting for a quiet machine uses in a minute;
- the size of the executable.

Every figure is a ratio of two programs of the same architecture on the same
machine, or a time against the clock, measured on the build that runs
natively: the released 32-bit one in a WOW64 prefix where the kernel runs
32-bit code; elsewhere the x86-64 test build under 64-bit Wine, as the table
says (under an emulator, CPU time is not Windows' time).

Run after the win32 build (and, where 32-bit code cannot run natively, the
wine64 one):  python3 scripts/benchmark.py [--runs N] [--write]
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
E2E = os.path.join(ROOT, "tests", "e2e")
sys.path.insert(0, E2E)


def native_build():
    """(build folder, what it is): the build whose programs run natively."""
    win32 = os.path.join(ROOT, "build", "win32")
    way = subprocess.run([sys.executable, os.path.join(E2E, "wow64.py"), "way"], capture_output=True, text=True,
                         env=dict(os.environ, POSTPONE_BUILD=win32,
                                  WINEPREFIX=os.path.join(win32, "wineprefix"))).stdout.strip()
    if way == "native":
        os.environ["POSTPONE_WOW64"] = way
        return win32, "the released 32-bit build in a WOW64 prefix"
    wine64 = os.path.join(ROOT, "build", "wine64")
    if not os.path.exists(os.path.join(wine64, "Postpone.exe")):
        sys.exit("32-bit programs do not run natively here (%s): build the wine64 preset first" % way)
    os.environ.update(POSTPONE_WOW64="wine64", PATH=os.path.join(wine64, "wine64-shims") + os.pathsep +
                      os.environ["PATH"])
    return wine64, "the x86-64 test build under 64-bit Wine (32-bit programs do not run natively here: %s)" % way


BUILD, BUILD_SAID = native_build()
os.environ["POSTPONE_BUILD"] = BUILD
os.environ["WINEPREFIX"] = os.path.join(BUILD, "wineprefix")

import harness  # noqa: E402
from harness import (POSTPONE_EXE, PROBE_EXE, loaded_dlls_by_process, read_probe_log, run_exact,  # noqa: E402
                     wait_for_prefix_idle, wine_env, winpath)

TOOLS = os.path.join(harness.BUILD, "tests", "e2e")


def kill_prefix():
    subprocess.run(["wineserver", "-k"], env=wine_env(), check=False)
    wait_for_prefix_idle()


def timed(result):
    return float(result.output.split("ms=", 1)[1].split()[0])


def write_settings(folder, entries, log_file=None):
    with open(os.path.join(folder, "postpone.ini"), "w", newline="") as f:
        f.write("[Launch]\r\n")
        if log_file:
            f.write("LogFile=%s\r\n" % log_file)
        for n, (program, arguments, delay) in enumerate(entries, 1):
            f.write("Program%d=%s\r\nCmdLine%d=%s\r\nDelaySec%d=%d\r\n" % (n, program, n, arguments, n, delay))


def spawn_cost(work, runs):
    entries = [("x.exe", "entry%d" % n, 3600) for n in range(1, 101)]
    exes = {}
    for name, log_file in (("plain", None), ("record", "postpone.log")):
        folder = os.path.join(work, "spawn-" + name)
        os.makedirs(folder)
        exes[name] = os.path.join(folder, "Postpone.exe")
        shutil.copyfile(POSTPONE_EXE, exes[name])
        write_settings(folder, entries, log_file)
    baseline = os.path.join(TOOLS, "spawn_baseline.exe")
    postpone_ms, record_ms, baseline_ms = [], [], []
    for run in range(runs):
        # The two lists take turns at going first after the baseline.
        pair = [(exes["plain"], postpone_ms), (exes["record"], record_ms)]
        for exe, times in pair if run % 2 == 0 else reversed(pair):
            result = run_exact('"%s"' % winpath(exe))
            assert result.exit_code == 100, result.output
            times.append(timed(result))
            kill_prefix()
        result = run_exact('"%s"' % winpath(baseline), {"BASELINE_EXE": winpath(exes["plain"]), "BASELINE_COUNT": "100"})
        assert result.exit_code == 100, result.output
        baseline_ms.append(timed(result))
        kill_prefix()
    p, r, b = statistics.median(postpone_ms), statistics.median(record_ms), statistics.median(baseline_ms)
    return [("Spawn cost, 100 entries: list mode (median of %d)" % runs, "%.0f ms" % p),
            ("Spawn cost, 100 entries with LogFile: list mode", "%.0f ms" % r),
            ("Spawn cost: baseline, 100 CreateProcessA calls in a loop", "%.0f ms" % b),
            ("Spawn cost ratio (goal <= 1.10)", "%.2f" % (p / b)),
            ("Spawn cost ratio with LogFile", "%.2f" % (r / b))]


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


def ps_value(field, pattern):
    """`field` of ps (rss, pid) for the process whose command line holds `pattern`."""
    out = subprocess.run(["ps", "-eo", field + ",args"], capture_output=True, text=True).stdout
    for line in out.splitlines():
        if pattern in line and "ps -eo" not in line:
            return int(line.split()[0])
    raise RuntimeError("no process matching %r" % pattern)


def rss_kb(pattern):
    return ps_value("rss", pattern)


def pid_of(pattern):
    return ps_value("pid", pattern)


def cpu_seconds(pid):
    """The processor time (user + system) a process has used so far."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def idle_wait_cost(work):
    """A copy waiting for a quiet machine on a machine kept busy (one loop on
    one core, so that it never quiets): the processor time it uses in a
    minute of waiting, against a copy waiting out its delay."""
    exe = os.path.join(work, "Postpone.exe")
    shutil.copyfile(POSTPONE_EXE, exe)
    stamp = round(time.time() % 86400)
    load = subprocess.Popen(["sh", "-c", "while :; do :; done"])
    try:
        copies = [subprocess.Popen(["wine", "start", "/unix", exe, "/E"] + switches + ["/T:%d" % stamp], env=wine_env())
                  for switches in (["/P:v.exe", "/D:0", "/I:20", "/M:600"], ["/P:u.exe", "/D:600"])]
        time.sleep(5)
        pids = [pid_of("Postpone.exe /E /P:v.exe"), pid_of("Postpone.exe /E /P:u.exe")]
        before = [cpu_seconds(pid) for pid in pids]
        time.sleep(60)
        used = [cpu_seconds(pid) - start for pid, start in zip(pids, before)]
    finally:
        load.kill()
        load.wait()
        kill_prefix()
    for copy in copies:
        copy.wait()
    return [("Copy waiting for a quiet machine: processor time in 60 s of waiting", "%.2f s" % used[0]),
            ("Copy waiting out its delay: processor time in 60 s", "%.2f s" % used[1])]


def footprint(work):
    exe = os.path.join(work, "Postpone.exe")
    shutil.copyfile(POSTPONE_EXE, exe)
    stamp = round(time.time() % 86400)
    trace_path = os.path.join(work, "loaddll")
    waits = {"delay": ["/P:x.exe", "/D:600"], "path": ["/P:y.exe", "/D:0", "/F:Q:\\never\\there", "/M:600"],
             "record": ["/P:z.exe", "/D:600", "/L:" + winpath(os.path.join(work, "postpone.log")), "/N:1"],
             # A machine kept busy by a loop on every core never quiets.
             "idle": ["/P:w.exe", "/D:0", "/I:1", "/M:600"]}
    loads = [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(os.cpu_count() or 2)]
    copies = {}
    with open(trace_path, "wb") as trace:
        for name, switches in waits.items():
            copies[name] = subprocess.Popen(["wine", "start", "/unix", exe, "/E"] + switches + ["/T:%d" % stamp],
                                            env=wine_env({"WINEDEBUG": "-all,+pid,+loaddll"}), stderr=trace)
        sleeper = subprocess.Popen(["wine", "start", "/unix", os.path.join(TOOLS, "sleeper.exe")], env=wine_env())
        time.sleep(5)
        delay_kb = rss_kb("Postpone.exe /E /P:x.exe /D:600")
        path_kb = rss_kb("Postpone.exe /E /P:y.exe /D:0")
        record_kb = rss_kb("Postpone.exe /E /P:z.exe /D:600")
        idle_kb = rss_kb("Postpone.exe /E /P:w.exe /D:0")
        sleeper_kb = rss_kb("sleeper.exe")
    for loop in loads:
        loop.kill()
        loop.wait()
    kill_prefix()
    for process in list(copies.values()) + [sleeper]:
        process.wait()
    with open(trace_path, encoding="latin-1") as f:
        by_process = loaded_dlls_by_process(f.read())
    loaded = [paths for paths in by_process.values() if any(p.endswith("\\postpone.exe") for p in paths)]
    modules = sorted({", ".join(path.rsplit("\\", 1)[-1] for path in paths) for paths in loaded})
    return [("Copy waiting out its delay: resident memory", "%.1f MB" % (delay_kb / 1024.0)),
            ("Copy with LogFile waiting out its delay: resident memory", "%.1f MB" % (record_kb / 1024.0)),
            ("Copy waiting for a path (one look a second): resident memory", "%.1f MB" % (path_kb / 1024.0)),
            ("Copy waiting for a quiet machine (one look a second): resident memory", "%.1f MB" % (idle_kb / 1024.0)),
            ("Program that only sleeps: resident memory", "%.1f MB" % (sleeper_kb / 1024.0)),
            ("Footprint ratio, waiting out a delay (goal <= 1.05)", "%.2f" % (delay_kb / sleeper_kb)),
            ("Footprint ratio, waiting out a delay with LogFile (goal <= 1.05)", "%.2f" % (record_kb / sleeper_kb)),
            ("Footprint ratio, waiting for a path (goal <= 1.05)", "%.2f" % (path_kb / sleeper_kb)),
            ("Footprint ratio, waiting for a quiet machine (goal <= 1.05)", "%.2f" % (idle_kb / sleeper_kb)),
            ("Modules loaded by the waiting copies", "; ".join(modules))]


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
        rows += idle_wait_cost(work)
    finally:
        kill_prefix()
        shutil.rmtree(work, ignore_errors=True)

    width = max(len(name) for name, _ in rows)
    table = ["| %s | %s |" % ("measure".ljust(width), "result"), "|%s|---|" % ("-" * (width + 2))]
    table += ["| %s | %s |" % (name.ljust(width), value) for name, value in rows]
    print("On " + BUILD_SAID)
    print("\n".join(table))
    if options.write:
        wine = subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip()
        header = ("Measured %s on %s (%s, %d cores), %s, on %s, by `python3 scripts/benchmark.py --runs %d "
                  "--write`.\n" % (datetime.date.today().isoformat(), platform.node() or "this machine",
                                   platform.machine(), os.cpu_count(), wine, BUILD_SAID, options.runs))
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
