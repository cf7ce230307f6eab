"""List mode for real: a settings file beside Postpone.exe, one hidden copy
per accepted entry, each starting its program at its time."""
import os
import time
import unittest

from harness import POSTPONE_EXE, PROBE_EXE, WineTest, run_exact, winpath


def settings_text(lines):
    return "\r\n".join(["[Launch]"] + lines) + "\r\n"


class ListModeTest(WineTest):
    def setUp(self):
        super().setUp()
        self.probe = self.place(PROBE_EXE, "probe.exe")

    def install(self, lines, exe_name="Postpone.exe", ini_name=None, *folders):
        exe = self.place(POSTPONE_EXE, *folders, exe_name)
        ini = os.path.join(os.path.dirname(exe), ini_name or os.path.splitext(exe_name)[0].lower() + ".ini")
        with open(ini, "w", newline="") as f:
            f.write(settings_text(lines))
        return exe

    def run_list_mode(self, exe, env=None, cwd=None):
        return run_exact('"%s"' % winpath(exe), dict(self.env, **(env or {})), cwd=cwd)

    def test_starts_each_accepted_entry_once_at_its_time(self):
        probe = winpath(self.probe)
        exe = self.install([
            "; entry 1: plain arguments, normal window",
            "Program1=%s" % probe, "CmdLine1=first", "DelaySec1=1", "WndStyle1=1",
            "; entry 2: no CmdLine2, skipped",
            "Program2=%s" % probe, "DelaySec2=1",
            "; entry 3: four quotes arrive as two: no arguments",
            "Program3=%s" % probe, 'CmdLine3=""""', "DelaySec3=3", "WndStyle3=3",
            "; entry 5: quotes and blanks inside the arguments",
            "Program5=%s" % probe, 'CmdLine5=say "hi there" /hidden  "x', "DelaySec5=2",
            "; entry 7: delay -1, skipped",
            "Program7=%s" % probe, "CmdLine7=seven", "DelaySec7=-1",
        ])
        t0 = time.time()
        result = self.run_list_mode(exe)
        self.assertEqual(result.exit_code, 3)
        starts = self.wait_for_probes(3, timeout=15)
        time.sleep(1.5)
        starts = self.probes()
        self.assertEqual(len(starts), 3)
        # No LogFile: nothing is written beside Postpone.
        self.assertEqual(sorted(os.listdir(self.dir)), ["Postpone.exe", "postpone.ini", "probe.exe", "probe.log"])
        by_command = {s.command: s for s in starts}
        expected = {
            (probe + " first").encode(): (1, 1),
            (probe + " ").encode(): (3, 3),
            (probe + ' say "hi there" /hidden  "x').encode(): (2, 0),
        }
        self.assertEqual(set(by_command), set(expected))
        for command, (delay, show) in expected.items():
            start = by_command[command]
            self.assertEqual(start.show, show, command)
            waited = start.ms / 1000.0 - t0
            # The stamp is a whole second: a start may come up to one second early.
            self.assertGreaterEqual(waited, delay - 1.0, command)
            self.assertLessEqual(waited, delay + 3.5, command)

    def test_each_entry_starts_in_its_own_folder(self):
        probe = winpath(self.probe)
        work = os.path.join(self.dir, "my work")
        os.makedirs(work)
        exe = self.install([
            "Program1=%s" % probe, "CmdLine1=named", "DelaySec1=0", "StartIn1=%s" % winpath(work),
            "Program2=%s" % probe, "CmdLine2=variable", "DelaySec2=0", "StartIn2=%PROBE_HOME%\\my work",
            "Program3=%s" % probe, "CmdLine3=inherited", "DelaySec3=0",
            "Program4=%s" % probe, "CmdLine4=nowhere", "DelaySec4=0", "StartIn4=%s" % winpath(self.dir + "/nowhere"),
        ])
        result = self.run_list_mode(exe, {"PROBE_HOME": winpath(self.dir)}, cwd=self.dir)
        self.assertEqual(result.exit_code, 4)  # four copies; the fourth's start then fails (267)
        self.wait_for_probes(3)
        time.sleep(1)
        folders = {start.command.rsplit(b" ", 1)[1]: start.cwd.lower() for start in self.probes()}
        self.assertEqual(folders, {b"named": winpath(work).lower().encode(), b"variable": winpath(work).lower().encode(),
                                   b"inherited": winpath(self.dir).lower().encode()})

    def test_a_renamed_executable_finds_its_own_settings_file(self):
        exe = self.install(["Program1=%s" % winpath(self.probe), "CmdLine1=renamed", "DelaySec1=0"],
                           exe_name="Launcher.EXE", ini_name="launcher.ini")
        self.assertEqual(self.run_list_mode(exe).exit_code, 1)
        [start] = self.wait_for_probes(1)
        self.assertEqual(start.command, (winpath(self.probe) + " renamed").encode())

    def test_an_executable_under_a_folder_with_a_blank_works_and_no_decoy_runs(self):
        program = self.place(PROBE_EXE, "my programs", "the probe.exe")
        self.place(PROBE_EXE, "my.exe")  # where an unquoted path would lead the platform
        exe = self.install(["Program1=%s" % winpath(program), 'CmdLine1=a "b c"', "DelaySec1=0", "WndStyle1=1"],
                           "Postpone.exe", None, "my dir")
        self.assertEqual(self.run_list_mode(exe).exit_code, 1)
        [start] = self.wait_for_probes(1)
        time.sleep(1.5)
        self.assertEqual(len(self.probes()), 1)
        self.assertEqual(start.exe, winpath(program).encode())
        self.assertEqual(start.command, ('"%s" a "b c"' % winpath(program)).encode())

    def test_environment_variables_in_the_program_are_expanded(self):
        exe = self.install(["Program1=%PROBE_HOME%\\probe.exe", "CmdLine1=%PROBE_HOME%", "DelaySec1=0"])
        self.assertEqual(self.run_list_mode(exe, {"PROBE_HOME": winpath(self.dir)}).exit_code, 1)
        [start] = self.wait_for_probes(1)
        self.assertEqual(start.command, (winpath(self.probe) + " %PROBE_HOME%").encode())

    def test_a_hundred_entries_start_and_entry_101_is_never_read(self):
        probe = winpath(self.probe)
        lines = []
        for n in range(1, 102):
            lines += ["Program%d=%s" % (n, probe), "CmdLine%d=entry%d" % (n, n), "DelaySec%d=0" % n]
        exe = self.install(lines)
        self.assertEqual(self.run_list_mode(exe).exit_code, 100)
        starts = self.wait_for_probes(100, timeout=60)
        time.sleep(1)
        commands = sorted(s.command for s in self.probes())
        self.assertEqual(commands, sorted(("%s entry%d" % (probe, n)).encode() for n in range(1, 101)))


if __name__ == "__main__":
    unittest.main()
