"""An entry that waits for its path (WaitFor, WaitSec), for real: a folder and
a drive letter that appear while the copy waits, a path that never comes, and
the checker's line for such an entry."""
import os
import subprocess
import time
import unittest

from harness import allowed, POSTPONE_EXE, PREFIX, PROBE_EXE, WineTest, run_exact, wait_for_prefix_idle, wine_env, winpath

CHECKER_EXE = os.path.join(os.path.dirname(POSTPONE_EXE), "postpone-check.exe")


class WaitForPathTest(WineTest):
    def setUp(self):
        super().setUp()
        self.exe = self.place(POSTPONE_EXE, "Postpone.exe")
        self.probe = winpath(self.place(PROBE_EXE, "probe.exe"))
        self.drive = os.path.join(PREFIX, "dosdevices", "q:")

    def tearDown(self):
        if os.path.islink(self.drive):
            os.remove(self.drive)
        super().tearDown()

    def write(self, *entries):
        with open(os.path.join(self.dir, "postpone.ini"), "w", newline="") as f:
            f.write("[Launch]\r\n")
            for n, (arguments, wait_for, wait_sec) in enumerate(entries, 1):
                f.write("Program%d=%s\r\nCmdLine%d=%s\r\nDelaySec%d=1\r\nWndStyle%d=1\r\nWaitFor%d=%s\r\n"
                        % (n, self.probe, n, arguments, n, n, n, wait_for))
                if wait_sec is not None:
                    f.write("WaitSec%d=%s\r\n" % (n, wait_sec))

    def test_each_program_starts_about_a_second_after_its_path_appears_and_not_at_all_when_it_never_does(self):
        folder = os.path.join(self.dir, "vault", "Mail")
        self.write(("folder", winpath(folder), None), ("drive", "Q:\\", 30), ("never", winpath(self.dir + "/never"), 2))
        self.assertEqual(run_exact('"%s"' % winpath(self.exe), self.env).exit_code, 3)
        time.sleep(4)
        self.assertEqual(self.probes(), [])  # the delay is over, and nothing is there yet
        os.makedirs(folder)
        appeared = {b"folder": time.time()}
        time.sleep(2)
        os.symlink(os.path.join(self.dir, "vault"), self.drive)  # a volume mounted as Q:
        appeared[b"drive"] = time.time()
        starts = self.wait_for_probes(2, timeout=15)
        self.assertTrue(wait_for_prefix_idle(timeout=15))  # the copy that waited in vain has ended too
        self.assertEqual(sorted(s.command.rsplit(b" ", 1)[1] for s in self.probes()), [b"drive", b"folder"])
        for start in starts:
            late = start.ms / 1000.0 - appeared[start.command.rsplit(b" ", 1)[1]]
            self.assertGreater(late, -0.2, start.command)  # not before it (the clocks agree to a few ms)
            self.assertLess(late, 2.5, start.command)       # one look a second, and Wine's start of the probe

    def test_the_checker_shows_the_wait(self):
        self.write(("x", "Q:\\Mail", "45"), ("y", "vault", None))
        done = subprocess.run(["wine", self.place(CHECKER_EXE, "postpone-check.exe")], env=wine_env(self.env),
                              capture_output=True, timeout=allowed(120))
        report = done.stdout.decode("cp1252")
        self.assertIn("entry 1: starts after 1 s, normal, program %s, arguments x, waits up to 45 s for Q:\\Mail "
                      "(not there now)\r\n    copy: %s /E /P:%s \"/C:x\" /D:1 /S:1 /F:Q:\\Mail /M:45 /T:<second of the "
                      "day>" % (self.probe, winpath(self.exe), self.probe), report)
        self.assertIn("warning: entry 2: WaitFor2: vault is relative: the copy looks for it from Postpone's working "
                      "folder", report)


if __name__ == "__main__":
    unittest.main()
