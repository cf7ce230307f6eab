"""Taking over what already starts at logon, for real: two Startup shortcuts
(one with arguments, a Start in and a minimised show state) and a Run value of
HKCU are listed by postpone-check; /add of each writes entries into a UTF-16
settings file with comments, which keeps its bytes; Postpone's list mode then
starts exactly the commands the originals named, in their folders and show
states, as the started program sees them; the checker reads each original as
switched off; and a settings file that cannot be written is refused and left
as it was."""
import glob
import os
import re
import subprocess
import unittest

from harness import allowed, POSTPONE_EXE, PROBE_EXE, WineTest, run_exact, wait_for_prefix_idle, wine_env, winpath
from test_checker import CHECKER_EXE, make_link, user_startup_folder

RUN_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
APPROVED = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\"
OWN_TEXT = "; my programs, started late\r\n[Launch]\r\n; none yet\r\n\r\n[Notes]\r\nkeep=1\r\n"


def reg(*arguments):
    return subprocess.run(["wine", "reg"] + list(arguments), env=wine_env(), capture_output=True, timeout=allowed(60))


class TakeOverTest(WineTest):
    def setUp(self):
        super().setUp()
        self.exe = self.place(POSTPONE_EXE, "Postpone.exe")
        self.checker = self.place(CHECKER_EXE, "postpone-check.exe")
        self.probe = winpath(self.place(PROBE_EXE, "Mail App", "probe.exe"))  # a folder with a blank
        self.work = os.path.join(self.dir, "work dir")
        os.makedirs(self.work)
        self.settings = os.path.join(self.dir, "postpone.ini")
        startup, startup_windows = user_startup_folder()
        self.links = {"mail": startup_windows + "\\PE2E Mail.lnk", "plain": startup_windows + "\\PE2E-Plain.lnk"}
        make_link(self.links["mail"], self.probe, '-background "C:\\My Mail"', winpath(self.work), 7)
        make_link(self.links["plain"], self.probe, "", "")
        reg("add", RUN_KEY, "/v", "PE2E-Sync", "/d", '"%s" -q' % self.probe, "/f")
        self.addCleanup(self.clean_up, startup)

    def clean_up(self, startup):
        for leftover in glob.glob(os.path.join(startup, "PE2E*.lnk")):
            os.remove(leftover)
        reg("delete", RUN_KEY, "/v", "PE2E-Sync", "/f")
        for approved, name in (("StartupFolder", "PE2E Mail.lnk"), ("StartupFolder", "PE2E-Plain.lnk"), ("Run", "PE2E-Sync")):
            reg("delete", APPROVED + approved, "/v", name, "/f")

    def check(self, *arguments):
        done = subprocess.run(["wine", self.checker] + list(arguments), env=wine_env(self.env), capture_output=True,
                              timeout=allowed(120))
        return done.returncode, done.stdout.decode("cp1252")

    def listed(self, report):
        """The number the report gives each of ours, and its line."""
        numbers = {}
        for number, line in re.findall(r"\r\n  (\d+): ([^\r]*)", report):
            for name, origin in (("mail", self.links["mail"]), ("plain", self.links["plain"]),
                                 ("sync", "the value PE2E-Sync of " + RUN_KEY)):
                if line.startswith(origin + ": "):
                    numbers[name] = (number, line)
        return numbers

    def test_each_original_is_listed_taken_over_with_its_command_and_switched_off(self):
        with open(self.settings, "wb") as f:
            f.write(b"\xff\xfe" + OWN_TEXT.encode("utf-16-le"))
        code, report = self.check()
        numbers = self.listed(report)
        self.assertEqual(sorted(numbers), ["mail", "plain", "sync"], report)
        self.assertEqual(numbers["mail"][1], '%s: "%s" -background "C:\\My Mail", in %s, minimised without the focus'
                         % (self.links["mail"], self.probe, winpath(self.work)))
        with open(self.settings, "rb") as f:
            self.assertEqual(f.read(), b"\xff\xfe" + OWN_TEXT.encode("utf-16-le"))  # the report wrote nothing

        for name in ("mail", "plain", "sync"):
            code, said = self.check("/add", numbers[name][0], "/delay:0")
            self.assertIn(code, (0, 1), said)
            self.assertTrue(said.startswith("added: entry "), said)
            self.assertIn("\r\nswitched off: ", said)
        with open(self.settings, "rb") as f:
            data = f.read()
        self.assertTrue(data.startswith(b"\xff\xfe"))
        text = data[2:].decode("utf-16-le")
        # The user's lines as they were, the new ones inside [Launch].
        self.assertTrue(text.startswith("; my programs, started late\r\n[Launch]\r\n; none yet\r\n"), text)
        self.assertTrue(text.endswith("\r\n\r\n[Notes]\r\nkeep=1\r\n"), text)
        self.assertEqual(len(re.findall(r"\r\nProgram\d=", text)), 3, text)
        self.assertTrue(os.path.exists(self.settings + ".bak"))

        code, report = self.check()
        for name, (number, line) in self.listed(report).items():
            self.assertTrue(line.endswith("; switched off in Task Manager's Startup tab"), line)

        # Postpone starts what each original named, where and how.
        self.assertEqual(run_exact('"%s"' % winpath(self.exe), self.env, cwd=self.dir).exit_code, 3)
        starts = self.wait_for_probes(3, timeout=30)
        self.assertTrue(wait_for_prefix_idle(timeout=30))
        seen = sorted((s.command, s.show, s.cwd) for s in starts)
        quoted = ('"%s"' % self.probe).encode()
        self.assertEqual(seen, sorted([
            (quoted + b' -background "C:\\My Mail"', 6, winpath(self.work).encode()),
            (quoted + b" ", 1, winpath(self.dir).encode()),
            (quoted + b" -q", 1, winpath(self.dir).encode()),
        ]))

    def test_a_settings_file_that_cannot_be_written_is_refused_and_left_as_it_was(self):
        with open(self.settings, "wb") as f:
            f.write(OWN_TEXT.encode())
        # A read-only folder: root writes anywhere else, so it is a read-only mount.
        if subprocess.run(["mount", "--bind", self.dir, self.dir], capture_output=True).returncode != 0:
            self.skipTest("no bind mount here")
        try:
            if subprocess.run(["mount", "-o", "remount,bind,ro", self.dir], capture_output=True).returncode != 0:
                self.skipTest("no read-only mount here")
            code, said = self.check("/add", self.links["plain"])
        finally:
            subprocess.run(["umount", self.dir], check=True)
        self.assertEqual(code, 3, said)
        self.assertIn("error: nothing added: ", said)
        with open(self.settings, "rb") as f:
            self.assertEqual(f.read(), OWN_TEXT.encode())
        self.assertEqual(sorted(os.listdir(self.dir)), sorted(["Postpone.exe", "postpone-check.exe", "Mail App",
                                                               "work dir", "postpone.ini"]))


if __name__ == "__main__":
    unittest.main()
