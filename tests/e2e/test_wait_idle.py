"""Entries that wait for a quiet machine (WaitIdle), for real: the test keeps
the processor busy with loops of its own on the host, which Wine's
GetSystemTimes sees (the host's own times), and ends them by their process
ids; each program starts once the load has ended and the window has passed,
one copy after the other, and at its limit under a load that outlasts it."""
import os
import re
import subprocess
import time
import unittest

from harness import SLOWNESS, POSTPONE_EXE, PROBE_EXE, WineTest, run_exact, wait_for_prefix_idle, winpath

WINDOW = 5  # the quiet seconds in a row a copy waits for
# Wine starts the probe some time after Postpone asked for it: a fraction of
# a second natively, a few seconds through the emulator.
STARTUP = 1.5 * SLOWNESS


class Load:
    """Every core kept busy by a shell loop of the test's own."""

    def __enter__(self):
        self.loops = [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(os.cpu_count() or 2)]
        time.sleep(1)  # under way before anything looks
        return self

    def end(self):
        for loop in self.loops:
            loop.kill()
        for loop in self.loops:
            loop.wait()
        self.ended = time.time()
        return self.ended

    def __exit__(self, *unused):
        if any(loop.poll() is None for loop in self.loops):
            self.end()


class WaitIdleTest(WineTest):
    def setUp(self):
        super().setUp()
        self.exe = self.place(POSTPONE_EXE, "Postpone.exe")
        self.probe = winpath(self.place(PROBE_EXE, "probe.exe"))

    def write(self, wait_sec, *names):
        with open(os.path.join(self.dir, "postpone.ini"), "w", newline="") as f:
            f.write("[Launch]\r\nLogFile=postpone.log\r\n")
            for n, name in enumerate(names, 1):
                f.write("Program%d=%s\r\nCmdLine%d=%s\r\nDelaySec%d=0\r\nWndStyle%d=1\r\nWaitIdle%d=50\r\nWaitSec%d=%d\r\n"
                        % (n, self.probe, n, name, n, n, n, n, wait_sec))

    def record(self):
        with open(os.path.join(self.dir, "postpone.log"), "rb") as f:
            return f.read().decode("cp1252")

    def test_each_program_starts_after_the_load_has_ended_and_the_window_passed_one_after_the_other(self):
        self.write(120, "first", "second")
        with Load() as load:
            self.assertEqual(run_exact('"%s"' % winpath(self.exe), self.env).exit_code, 2)
            time.sleep(8)
            self.assertEqual(self.probes(), [])  # the machine is busy: nothing starts
            ended = load.end()
        starts = self.wait_for_probes(2, timeout=60)
        self.assertTrue(wait_for_prefix_idle(timeout=30))
        by_name = {s.command.rsplit(b" ", 1)[1]: s.ms / 1000.0 for s in starts}
        self.assertEqual(sorted(by_name), [b"first", b"second"])
        first, second = sorted(by_name.values())
        self.assertGreater(first - ended, WINDOW - 0.2)               # not before the window after the load
        self.assertLess(first - ended, WINDOW + 1 + STARTUP)          # within it and one look
        self.assertGreaterEqual(second - first, WINDOW - 0.2)         # the next counts afresh from that start
        self.assertEqual(len(re.findall(r"\tquiet after \d+ s\t", self.record())), 2, self.record())

    def test_a_load_that_outlasts_the_limit_starts_the_program_at_the_limit(self):
        self.write(4, "anyway")
        with Load() as load:
            asked = time.time()
            self.assertEqual(run_exact('"%s"' % winpath(self.exe), self.env).exit_code, 1)
            [start] = self.wait_for_probes(1, timeout=30)
            self.assertIsNone(load.loops[0].poll())  # still busy when it started
        self.assertTrue(wait_for_prefix_idle(timeout=30))
        self.assertGreater(start.ms / 1000.0 - asked, 4 - 0.2)
        self.assertLess(start.ms / 1000.0 - asked, 4 + 1 + 2 * STARTUP)  # list mode's and the copy's own start too
        self.assertRegex(self.record(), r"\tstill busy after [45] s\t")


if __name__ == "__main__":
    unittest.main()
