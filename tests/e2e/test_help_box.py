"""The help box on a virtual display: shown for /? and /E /H, closed with
Return, exit code 0, nothing started."""
import os
import subprocess
import time
import unittest

from harness import allowed, POSTPONE_EXE, PROBE_EXE, STARTER_EXE, WineTest, output_fields, wine_env, winpath

TITLE = "Postpone version 1.0.0.0"
EXPECTED_LINES = [
    "", "Runs a program some time later.", "", "USAGE:", "Postpone.exe [/? | /h]]", "/? | /h   Display this help.",
    "", "NOTE:", "It reads the programs list from the POSTPONE.INI file.",
]
BOXREADER_EXE = os.path.join(os.path.dirname(STARTER_EXE), "boxreader.exe")


class VirtualDisplay:
    """An Xvfb of our own, on a display number it picks itself."""

    def __enter__(self):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                                        "-nolisten", "tcp"], pass_fds=[write_end], stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as f:
            self.display = ":" + f.readline().strip()
        return self

    def __exit__(self, *exc):
        self.server.terminate()
        self.server.wait(timeout=allowed(10))


class HelpBoxTest(WineTest):
    def setUp(self):
        super().setUp()
        self.exe = self.place(POSTPONE_EXE, "Postpone.exe")
        self.probe = self.place(PROBE_EXE, "probe.exe")

    def find_box(self, display, timeout=30):
        deadline = time.monotonic() + allowed(timeout)
        while time.monotonic() < deadline:
            found = subprocess.run(["xdotool", "search", "--name", TITLE], env=dict(os.environ, DISPLAY=display),
                                   capture_output=True, text=True)
            if found.stdout.strip():
                return found.stdout.split()[0]
            time.sleep(0.3)
        self.fail("no window titled %r appeared" % TITLE)

    def show_and_close(self, tail):
        with VirtualDisplay() as screen:
            env = wine_env(dict(self.env, DISPLAY=screen.display,
                                STARTER_CMD='"%s" %s' % (winpath(self.exe), tail)))
            postpone = subprocess.Popen(["wine", STARTER_EXE], env=env, stdout=subprocess.PIPE)
            window = self.find_box(screen.display)
            read = subprocess.run(["wine", BOXREADER_EXE, TITLE], env=env, capture_output=True, text=True, timeout=allowed(60))
            values = output_fields(read.stdout)
            subprocess.run(["xdotool", "key", "--window", window, "Return"], env=dict(os.environ, DISPLAY=screen.display))
            out, _ = postpone.communicate(timeout=allowed(30))
        exit_code = int(output_fields(out.decode())["exit"])
        return exit_code, values

    def assert_help_text(self, values):
        self.assertEqual(values.get("class"), "#32770")  # a dialog box
        lines = bytes.fromhex(values["text"]).decode("ascii").split("\r\n")
        self.assertEqual(len(lines), 10)
        self.assertIn("https://", lines[0])
        self.assertEqual(lines[1:], EXPECTED_LINES)

    def test_question_mark_shows_the_box_and_return_closes_it(self):
        exit_code, values = self.show_and_close("/?")
        self.assertEqual(exit_code, 0)
        self.assert_help_text(values)

    def test_help_wins_over_execute_mode_and_nothing_starts(self):
        exit_code, values = self.show_and_close('/E /H /P:%s "/C:x" /S:1' % winpath(self.probe))
        self.assertEqual(exit_code, 0)
        self.assert_help_text(values)
        time.sleep(1)
        self.assertEqual(self.probes(), [])


if __name__ == "__main__":
    unittest.main()
