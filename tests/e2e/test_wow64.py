"""What only 64-bit Windows shows a 32-bit program (WOW64), for real: the
checker's redirection hints on real 64-bit and 32-bit folders, what Postpone
then starts, and the starters at logon in both registry views and through a
shortcut into C:\\Program Files."""
import glob
import os
import shutil
import subprocess
import sys
import unittest

from harness import allowed, POSTPONE_EXE, PREFIX, PROBE_EXE, is_wow64, run_exact, wine_env, winpath
from test_checker import CheckerCase, make_link, user_startup_folder

DRIVE_C = os.path.join(PREFIX, "drive_c")
RUN = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"


def reg(*arguments):
    done = subprocess.run(["wine", "reg"] + list(arguments), env=wine_env(), capture_output=True, timeout=allowed(60))
    assert done.returncode == 0, done


class Wow64Test(CheckerCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        if not is_wow64():
            raise unittest.SkipTest("the x86-64 build runs here: nothing is redirected for it")

    def tearDown(self):
        super().tearDown()
        for pattern in ("Program Files*/Postpone-e2e-*", "Program Files/Postpone", "windows/system32/postpone-e2e-*"):
            for path in glob.glob(os.path.join(DRIVE_C, pattern)):
                shutil.rmtree(path) if os.path.isdir(path) else os.remove(path)

    @staticmethod
    def put(*relative):
        """A probe at `relative` under drive_c (the real folders, 64-bit ones included)."""
        path = os.path.join(DRIVE_C, *relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        shutil.copyfile(PROBE_EXE, path)
        return path

    def test_redirected_folders_get_the_name_that_reaches_the_64_bit_one(self):
        self.put("Program Files", "Postpone-e2e-64", "probe.exe")
        self.put("Program Files (x86)", "Postpone-e2e-32", "probe.exe")
        self.put("windows", "system32", "postpone-e2e-64.exe")  # the 64-bit System32, not SysWOW64
        entries = [
            ("%ProgramFiles%\\Postpone-e2e-64\\probe.exe", "64-only"),
            ("%ProgramFiles%\\Postpone-e2e-32\\probe.exe", "x86"),
            ("%windir%\\System32\\postpone-e2e-64.exe", "system32-64-only"),
            ("%windir%\\System32\\cmd.exe", "/c exit"),  # in both folders: SysWOW64's starts
            ("%ProgramW6432%\\Postpone-e2e-64\\probe.exe", "as-hinted"),
            ("%windir%\\Sysnative\\postpone-e2e-64.exe", "sysnative"),
        ]
        self.write("[Launch]\r\n" + "".join("Program%d=%s\r\nCmdLine%d=%s\r\nDelaySec%d=0\r\nWndStyle%d=1\r\n"
                                            % (n, program, n, arguments, n, n)
                                            for n, (program, arguments) in enumerate(entries, 1)))
        report = self.check()
        warnings = [line for line in report.lines if line.startswith(b"warning: entry ")]
        # Into the test log: what 32-bit postpone-check says under WOW64 of the real folders.
        sys.stderr.write("\n".join(line.decode("cp1252") for line in warnings) + "\n")
        self.assertEqual(len(warnings), 2, report.text)
        self.assertIn(b"warning: entry 1: Program1: C:\\Program Files (x86)\\Postpone-e2e-64\\probe.exe does not exist",
                      report.text)
        self.assertIn(b"the 64-bit program is at C:\\Program Files\\Postpone-e2e-64\\probe.exe: write "
                      b"%ProgramW6432%\\Postpone-e2e-64\\probe.exe)", report.text)
        self.assertIn(b"warning: entry 3: Program3: C:\\windows\\System32\\postpone-e2e-64.exe does not exist",
                      report.text)
        self.assertIn(b"write %windir%\\Sysnative\\postpone-e2e-64.exe)", report.text)
        # What Postpone starts agrees: the x86 one, the hinted names, and cmd.
        self.assert_agrees_with_postpone(report, [2, 5, 6])
        started = {probe.command.rsplit(b" ", 1)[1]: probe.exe.lower() for probe in self.probes()}
        self.assertEqual(started[b"as-hinted"], b"c:\\program files\\postpone-e2e-64\\probe.exe")
        # The file that is only in the 64-bit System32 (SysWOW64 has none).
        self.assertEqual(started[b"sysnative"], b"c:\\windows\\system32\\postpone-e2e-64.exe")

    def test_starters_in_both_registry_views_and_a_shortcut_into_program_files(self):
        folder = os.path.join(DRIVE_C, "Program Files", "Postpone")
        os.makedirs(folder, exist_ok=True)
        shutil.copyfile(POSTPONE_EXE, os.path.join(folder, "Postpone.exe"))
        self.write("[Launch]\r\nProgram1=%s\r\nCmdLine1=x\r\nDelaySec1=0\r\nWndStyle1=1\r\n" % winpath(self.probe),
                   os.path.join(folder, "postpone.ini"))
        startup, startup_windows = user_startup_folder()
        shortcut = startup_windows + "\\Postpone-e2e.lnk"
        # Wine hands a 32-bit caller the target as stored; Windows would
        # adjust it to C:\Program Files (x86) unless it is read raw (the
        # unit tests pin that).
        make_link(shortcut, "C:\\Program Files\\Postpone\\Postpone.exe", "", "C:\\Program Files\\Postpone")
        quoted = '"C:\\Program Files\\Postpone\\Postpone.exe"'
        try:
            reg("add", RUN, "/v", "Postpone-e2e-64", "/d", quoted, "/reg:64", "/f")
            reg("add", RUN, "/v", "Postpone-e2e-32", "/d", quoted, "/reg:32", "/f")
            report = self.check("C:\\Program Files\\Postpone\\Postpone.exe")
            for line in ("started at logon by: %s, Start in C:\\Program Files\\Postpone" % shortcut,
                         "started at logon by: the value Postpone-e2e-64 of %s (%s), Start in C:\\windows\\system32 "
                         "(none given: Explorer's own folder, assumed)" % (RUN, quoted),
                         "started at logon by: the value Postpone-e2e-32 of HKLM\\Software\\WOW6432Node\\Microsoft\\"
                         "Windows\\CurrentVersion\\Run (%s), Start in C:\\windows\\system32 (none given: Explorer's own "
                         "folder, assumed)" % quoted):
                self.assertTrue(report.has(line), report.text)
            self.assertEqual(report.code, 0, report.text)
            # Postpone from C:\Program Files starts the entry as the report says.
            result = run_exact('"C:\\Program Files\\Postpone\\Postpone.exe"', self.env)
            self.assertEqual(result.exit_code, 1)
            self.assertEqual([probe.command for probe in self.wait_for_probes(1)], [report.starts[1][1]])
        finally:
            os.remove(os.path.join(startup, "Postpone-e2e.lnk"))
            for view in ("/reg:64", "/reg:32"):
                subprocess.run(["wine", "reg", "delete", RUN, "/v", "Postpone-e2e-" + view[-2:], view, "/f"],
                               env=wine_env(), capture_output=True, timeout=allowed(60))


if __name__ == "__main__":
    unittest.main()
