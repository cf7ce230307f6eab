"""Start-up: the exit code travels whole, and an empty setup starts nothing."""
import unittest

from harness import POSTPONE_EXE, PROBE_EXE, WineTest, run_exact, traced_calls, winpath


class StartupTest(WineTest):
    def test_starter_reports_exit_codes_in_full(self):
        probe = self.place(PROBE_EXE, "probe.exe")
        for code in (0x12345678, 0xFFFFFFFF, 256):
            env = dict(self.env, PROBE_EXIT=str(code))
            self.assertEqual(run_exact(winpath(probe), env).exit_code, code)

    def test_no_command_line_and_no_settings_file_starts_nothing(self):
        exe = self.place(POSTPONE_EXE, "Postpone.exe")
        result = run_exact('"%s"' % winpath(exe), self.env, relay=True)
        self.assertEqual(result.exit_code, 0)
        self.assertEqual(traced_calls(result, "KERNEL32.CreateProcessA"), [])
        self.assertEqual(traced_calls(result, "user32.MessageBoxA"), [])
        self.assertEqual(traced_calls(result, "KERNEL32.ExitProcess"), ["00000000"])


if __name__ == "__main__":
    unittest.main()
