"""The record of starts (LogFile), for real: what list mode and each copy
write, whole lines from a hundred copies that finish together, a record that
cannot be written, the move aside past 256 KiB, and the checker's read-back."""
import os
import re
import shutil
import subprocess
import unittest

from harness import (allowed, POSTPONE_EXE, PROBE_EXE, WineTest, run_exact, wait_for_prefix_idle, wine_env, winpath)

CHECKER_EXE = os.path.join(os.path.dirname(POSTPONE_EXE), "postpone-check.exe")
TIME = r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d"
LIST_LINE = re.compile(TIME + r"\trun ([0-9a-f]{8})\tlist\tread\taccepted (\d+)\tentries ([\d ]+|none)"
                       r"\tskipped ([\d ]+|none)\tmachine ([^\t]*)\t(.*)")
ENTRY_LINE = re.compile(TIME + r"\trun ([0-9a-f]{8})\tentry (\d+)\t(started\tpid \d+\tdelay -?\d+ s\tlate \d+ s"
                        r"(?:\twaited \d+ s)?|failed\terror (\d+)|not started\twaited \d+ s)\t(.*)")


class RunRecordTest(WineTest):
    def setUp(self):
        super().setUp()
        self.exe = self.place(POSTPONE_EXE, "Postpone.exe")
        self.probe = winpath(self.place(PROBE_EXE, "probe.exe"))

    def write(self, log_file, entries):
        """entries: (n, program, arguments, extra key lines)."""
        with open(os.path.join(self.dir, "postpone.ini"), "w", newline="") as f:
            f.write("[Launch]\r\n")
            if log_file:
                f.write("LogFile=%s\r\n" % log_file)
            for n, program, arguments, extra in entries:
                f.write("Program%d=%s\r\nCmdLine%d=%s\r\nDelaySec%d=0\r\nWndStyle%d=1\r\n" % (n, program, n, arguments, n, n))
                for line in extra:
                    f.write(line % n + "\r\n")

    def local_app_data(self, relative):
        """The Linux path of %LOCALAPPDATA%\\RELATIVE in the prefix, emptied
        of what an earlier run left there."""
        done = subprocess.run(["wine", "cmd", "/c", "echo", "%LOCALAPPDATA%"], env=wine_env(), capture_output=True,
                              timeout=allowed(60))
        folder = subprocess.run(["winepath", "-u", done.stdout.decode("latin-1").strip()], env=wine_env(),
                                capture_output=True, timeout=allowed(60)).stdout.decode().strip()
        path = os.path.join(folder, *relative.split("/"))
        shutil.rmtree(os.path.dirname(path), ignore_errors=True)
        self.addCleanup(shutil.rmtree, os.path.dirname(path), True)
        return path

    def run_list_mode(self, count):
        self.assertEqual(run_exact('"%s"' % winpath(self.exe), self.env).exit_code, count)
        self.assertTrue(wait_for_prefix_idle(timeout=30))  # every copy is done

    def record_lines(self, path):
        with open(path, "rb") as f:
            data = f.read()
        self.assertTrue(data.endswith(b"\r\n"), data[-200:])
        return data[:-2].decode("cp1252").split("\r\n")

    def test_four_outcomes_are_recorded_as_windows_gave_them_and_the_checker_names_each(self):
        # "/" as Windows takes it, in the record's folder that Postpone makes.
        record = self.local_app_data("Postpone/postpone.log")
        self.write("%LOCALAPPDATA%/Postpone/postpone.log", [
            (1, self.probe, "good", []),
            (2, winpath(self.dir + "/missing.exe"), "x", []),
            (3, self.probe, "nowhere", [r"StartIn%d=" + winpath(self.dir + "/gone")]),
            (4, self.probe, "never", [r"WaitFor%d=" + winpath(self.dir + "/vault"), "WaitSec%d=2"]),
            (5, self.probe, "", []),  # CmdLine5 empty: skipped
        ])
        self.run_list_mode(4)
        self.assertEqual([s.command for s in self.probes()], [(self.probe + " good").encode()])
        lines = self.record_lines(record)  # its folder was made
        self.assertEqual(len(lines), 5, lines)
        # List mode writes once every copy has started: a copy with no delay
        # may write before it.
        [listed] = [LIST_LINE.fullmatch(line) for line in lines if LIST_LINE.fullmatch(line)]
        lines.remove(listed.group(0))
        self.assertEqual(listed.group(2, 3, 4, 6), ("4", "1 2 3 4", "5", winpath(self.dir).lower() + "\\postpone.ini"))
        self.assertTrue(listed.group(5))  # the machine's name
        outcomes = {}
        for line in lines:
            match = ENTRY_LINE.fullmatch(line)
            self.assertIsNotNone(match, line)
            self.assertEqual(match.group(1), listed.group(1))  # the run's tag
            outcomes[int(match.group(2))] = (match.group(3).split("\t")[0], match.group(4), match.group(5))
        self.assertEqual(outcomes, {
            1: ("started", None, self.probe + " good"),
            2: ("failed", "2", winpath(self.dir + "/missing.exe") + " x"),
            3: ("failed", "267", self.probe + " nowhere"),
            4: ("not started", None, winpath(self.dir + "/vault")),
        })

        done = subprocess.run(["wine", self.place(CHECKER_EXE, "postpone-check.exe")], env=wine_env(self.env),
                              capture_output=True, timeout=allowed(120))
        report = done.stdout.decode("cp1252")
        self.assertIn("\r\nrecord: ", report)
        self.assertNotIn("no record yet", report)
        self.assertRegex(report, r"\r\nlast run %s: 1 started, 2 failed, 1 not started, 1 skipped\r\n" % TIME)
        for n, said in [(1, r"started %s, (on time|\d+ s late), process \d+" % TIME),
                        (2, "failed %s, error 2, ERROR_FILE_NOT_FOUND: the program is not there" % TIME),
                        (3, "failed %s, error 267, ERROR_DIRECTORY: its StartIn folder is not there" % TIME),
                        (4, r"not started %s, %s was not there within 2 s" % (TIME, re.escape(winpath(self.dir + "/vault")))),
                        (5, "skipped")]:
            self.assertRegex(report, r"\r\nentry %d: [^\r]*\r\n(    [^\r]*\r\n)*    last run: %s\r\n" % (n, said))
        # Entry 4 is "starts" to the checker, but its path never came.
        self.assertIn("warning: entry 4: postpone-check expects it to start, but at the last run", report)

    def test_a_hundred_copies_finishing_together_write_a_hundred_whole_lines_after_the_record_moved_aside(self):
        record = os.path.join(self.dir, "postpone.log")
        older = "2026-12-09 08:00:00\tentry 1\tfailed\terror 2\tx\r\n" * 6000  # over 256 KiB
        with open(record, "w", newline="") as f:
            f.write(older)
        self.write(winpath(record), [(n, self.probe, "n%d" % n, []) for n in range(1, 101)])
        self.run_list_mode(100)
        # List mode moves the record aside once every copy has started: the
        # lines of copies that wrote before that went with it, whole.
        with open(record + ".1", newline="") as f:
            moved = f.read()
        self.assertTrue(moved.startswith(older))
        lines = self.record_lines(record)
        if len(moved) > len(older):
            lines = moved[len(older):-2].split("\r\n") + lines
        self.assertEqual(len(lines), 101)
        self.assertEqual(len([line for line in lines if LIST_LINE.fullmatch(line)]), 1, lines)
        entries = []
        for line in lines:
            if LIST_LINE.fullmatch(line):
                continue
            match = ENTRY_LINE.fullmatch(line)
            self.assertIsNotNone(match, line)
            self.assertTrue(match.group(3).startswith("started"), line)
            self.assertEqual(match.group(5), "%s n%s" % (self.probe, match.group(2)))
            entries.append(int(match.group(2)))
        self.assertEqual(sorted(entries), list(range(1, 101)))
        self.assertEqual(len(self.probes()), 100)

    def test_a_record_that_cannot_be_written_costs_the_starts_nothing(self):
        folder = os.path.join(self.dir, "logs")
        os.makedirs(folder)
        places = ["R:\\nowhere\\postpone.log"]  # a drive that is not there
        # A read-only folder: root writes anywhere else, so it is a read-only mount.
        mounted = subprocess.run(["mount", "--bind", folder, folder], capture_output=True).returncode == 0
        try:
            if mounted and subprocess.run(["mount", "-o", "remount,bind,ro", folder], capture_output=True).returncode == 0:
                places.append(winpath(folder + "/postpone.log"))
            for place in places:
                with self.subTest(place):
                    if os.path.exists(self.log):
                        os.remove(self.log)
                    self.write(place, [(1, self.probe, "one", []), (2, self.probe, "two", [])])
                    self.run_list_mode(2)
                    self.assertEqual(sorted(s.command for s in self.probes()),
                                     [(self.probe + " one").encode(), (self.probe + " two").encode()])
            self.assertEqual(os.listdir(folder), [])
        finally:
            if mounted:
                subprocess.run(["umount", folder], check=True)
        if len(places) == 1:
            self.skipTest("no read-only mount here: only the missing drive was tried")


if __name__ == "__main__":
    unittest.main()
