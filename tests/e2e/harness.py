"""Running Postpone.exe and its test helpers under Wine.

Every end-to-end test starts Postpone through starter.exe, which hands an exact
command line to CreateProcessA and prints the full 32-bit exit code. Programs
that Postpone starts are copies of probe.exe, which log their command line,
show state, module path and start time to the file named by PROBE_LOG.
"""
import os
import shutil
import subprocess
import tempfile
import time
import unittest
from dataclasses import dataclass

import wow64

BUILD = os.environ.get("POSTPONE_BUILD", os.path.join(os.path.dirname(__file__), "..", "..", "build", "win32"))
POSTPONE_EXE = os.path.join(BUILD, "Postpone.exe")
PROBE_EXE = os.path.join(BUILD, "tests", "e2e", "probe.exe")
STARTER_EXE = os.path.join(BUILD, "tests", "e2e", "starter.exe")
PREFIX = os.environ.get("WINEPREFIX", os.path.join(BUILD, "wineprefix"))
MAKELINK_EXE = os.path.join(BUILD, "tests", "e2e", "makelink.exe")

RELAY_FUNCTIONS = "kernel32.CreateProcessA;kernel32.Sleep;kernel32.ExitProcess;user32.MessageBoxA"


# Through qemu-i386 (the emulated way) each 32-bit process starts several
# times slower than natively, and a new user's machine is rarely quiet: every
# time-out of the tests is that much longer there.
SLOWNESS = 4 if os.environ.get("POSTPONE_WOW64") == "emulated" else 1


def allowed(seconds):
    """A time-out of `seconds` on a native machine, as long as this way of
    running 32-bit programs needs."""
    return seconds * SLOWNESS


def winpath(path):
    """The Windows form of a Linux path, as Wine shows it: Z:\\..."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine_env(extra=None):
    env = dict(os.environ)
    env.update(WINEPREFIX=PREFIX, WINEDEBUG="-all", LANG="C.UTF-8", WINEDLLOVERRIDES=wow64.DLL_OVERRIDES, TZ="UTC")
    env.pop("DISPLAY", None)  # no display: a message box would return at once
    env.update(extra or {})
    return env


# The words CTest takes as "skipped" (SKIP_REGULAR_EXPRESSION in CMakeLists.txt).
CANNOT_RUN = "cannot run 32-bit Windows programs"
_why_not = []


def is_wow64():
    """True when the build under test is the released 32-bit one, run in a
    WOW64 prefix (not the x86-64 build of the last resort)."""
    return os.environ.get("POSTPONE_WOW64") in ("native", "emulated")


def why_wine_cannot_run():
    """None when this machine runs the build under test under Wine; else why
    not. The x86-64 build (POSTPONE_WOW64=wine64) needs 64-bit Wine alone; the
    32-bit one a 32-bit program that really starts (wow64.py says how)."""
    if not _why_not:
        way = os.environ.get("POSTPONE_WOW64")
        if way in ("native", "emulated", "wine64"):
            reason = None
        elif way is not None and way.startswith("none"):
            reason = way.partition(":")[2].strip()
        else:
            reason = wow64.why_32bit_fails()
        _why_not.append(None if reason is None else "this machine %s under Wine: %s" % (CANNOT_RUN, reason))
    return _why_not[0]


def skip_unless_wine_runs():
    reason = why_wine_cannot_run()
    if reason:
        raise unittest.SkipTest(reason)


def make_prefix():
    """Creates the shared WOW64 prefix once (for the x86-64 build a plain
    64-bit one: the same), with the relay filter set."""
    if why_wine_cannot_run():
        print("skipped: " + why_wine_cannot_run())
        return
    wow64.make_prefix(PREFIX)
    with open(os.path.join(PREFIX, "user.reg"), encoding="latin-1") as f:
        if "RelayInclude" in f.read():
            return
    env = wine_env()
    subprocess.run(["wine", "reg", "add", "HKCU\\Software\\Wine\\Debug", "/v", "RelayInclude", "/t", "REG_SZ",
                    "/d", RELAY_FUNCTIONS, "/f"], env=env, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    subprocess.run(["wineserver", "-w"], env=env, check=True)


def wait_for_prefix_idle(timeout=20):
    """Waits until every process of the prefix has ended; ends whatever is
    still running after `timeout` seconds (a copy left sleeping by a failed
    test, say). Returns False when something had to be ended."""
    try:
        subprocess.run(["wineserver", "-w"], env=wine_env(), check=False, timeout=allowed(timeout))
        return True
    except subprocess.TimeoutExpired:
        subprocess.run(["wineserver", "-k"], env=wine_env(), check=False)
        return False


@dataclass
class Result:
    exit_code: int
    pid: int
    seconds: float
    output: str
    trace: str


def output_fields(text):
    """The name=value lines that the helper programs print, as a dict."""
    return dict(line.split("=", 1) for line in text.splitlines() if "=" in line)


def run_exact(command, env=None, timeout=60, relay=False, cwd=None):
    """Runs `command` exactly as given, in `cwd` (a Linux folder: the working
    folder a Startup shortcut's Start in would give); returns its full exit
    code."""
    extra = {"STARTER_CMD": command}
    extra.update(env or {})
    if relay:
        extra["WINEDEBUG"] = "-all,+pid,+relay"
    # Output goes to files, not pipes: copies left waiting would hold a pipe
    # open long after the starter itself has ended.
    with tempfile.TemporaryFile() as stdout, tempfile.TemporaryFile() as stderr:
        started = time.monotonic()
        subprocess.run(["wine", STARTER_EXE], env=wine_env(extra), stdout=stdout, stderr=stderr, timeout=allowed(timeout),
                       cwd=cwd)
        seconds = time.monotonic() - started
        stdout.seek(0)
        stderr.seek(0)
        out = stdout.read().decode("latin-1")
        err = stderr.read().decode("latin-1")
    values = output_fields(out)
    if "exit" not in values:
        raise AssertionError("starter failed: %r %r" % (out, err[-2000:]))
    return Result(int(values["exit"]), int(values.get("pid", "0")), seconds, out, err if relay else "")


def traced_calls(result, function, pid=None):
    """The relay-traced calls of `function` made by process `pid` (by default
    the process the starter ran), as their argument texts."""
    prefix = "%04x:" % (pid if pid is not None else result.pid)
    marker = "Call " + function + "("
    calls = []
    for line in result.trace.splitlines():
        if line.startswith(prefix) and marker in line:
            calls.append(line.split(marker, 1)[1].rsplit(") ret=", 1)[0])
    return calls


def loaded_dlls_by_process(trace):
    """{pid: [module paths]} from a +pid,+loaddll trace."""
    loaded = {}
    for line in trace.splitlines():
        if ":trace:loaddll:" in line and "Loaded " in line:
            pid = int(line.split(":", 1)[0], 16)
            loaded.setdefault(pid, []).append(line.split('Loaded L"', 1)[1].split('"', 1)[0].lower())
    return loaded


@dataclass
class ProbeStart:
    pid: int
    show: int
    flags: int
    ms: int
    command: bytes
    exe: bytes
    cwd: bytes = b""


def read_probe_log(path):
    starts = []
    if not os.path.exists(path):
        return starts
    with open(path, "rb") as f:
        for line in f.read().decode("ascii").splitlines():
            fields = dict(part.split("=", 1) for part in line.split(" "))
            starts.append(ProbeStart(int(fields["pid"]), int(fields["show"]), int(fields["flags"]),
                                     int(fields["ms"]), bytes.fromhex(fields["cmd"]), bytes.fromhex(fields["exe"]),
                                     bytes.fromhex(fields.get("cwd", ""))))
    return starts


def seconds_of_day(unix_seconds):
    """What NowSeconds reads at `unix_seconds` with TZ=UTC (ties to even)."""
    return round(unix_seconds % 86400)


class WineTest(unittest.TestCase):
    """A scratch folder per test, a probe log in it, and helpers to fill it."""

    @classmethod
    def setUpClass(cls):
        skip_unless_wine_runs()

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="postpone-e2e-")
        self.log = os.path.join(self.dir, "probe.log")
        self.env = {"PROBE_LOG": winpath(self.log)}

    def tearDown(self):
        wait_for_prefix_idle()
        shutil.rmtree(self.dir, ignore_errors=True)

    def place(self, source, *relative):
        """Copies `source` to the scratch folder under `relative`; returns its Linux path."""
        target = os.path.join(self.dir, *relative)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(source, target)
        return target

    def probes(self):
        return read_probe_log(self.log)

    def wait_for_probes(self, count, timeout=20):
        deadline = time.monotonic() + allowed(timeout)
        while time.monotonic() < deadline:
            if len(self.probes()) >= count:
                break
            time.sleep(0.1)
        return self.probes()
