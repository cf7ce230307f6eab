"""Execute mode for real: /E with a program, its arguments, a delay, a show
state and a stamp starts the program after what is left of the delay."""
import time
import unittest

from harness import (allowed, POSTPONE_EXE, PROBE_EXE, WineTest, output_fields, run_exact, seconds_of_day, traced_calls,
                     winpath)

SW_SHOWMAXIMIZED = 3
STARTF_USESHOWWINDOW = 1


class ExecuteModeTest(WineTest):
    def setUp(self):
        super().setUp()
        self.exe = self.place(POSTPONE_EXE, "Postpone.exe")
        self.probe = self.place(PROBE_EXE, "probe.exe")

    def execute(self, switches, env=None, relay=False, timeout=30):
        return run_exact('"%s" /E %s' % (winpath(self.exe), switches), dict(self.env, **(env or {})),
                         relay=relay, timeout=timeout)

    def test_starts_the_program_after_its_delay_with_its_arguments_and_show_state(self):
        t0 = time.time()
        stamp = seconds_of_day(t0)
        result = self.execute('/P:%s "/C:alpha  beta" /D:2 /S:3 /T:%d' % (winpath(self.probe), stamp))
        [start] = self.wait_for_probes(1)
        self.assertEqual(result.exit_code, start.pid)
        self.assertEqual(start.command, (winpath(self.probe) + " alpha  beta").encode())
        self.assertEqual(start.show, SW_SHOWMAXIMIZED)
        self.assertTrue(start.flags & STARTF_USESHOWWINDOW)
        # The clock reads stamp + 2 from half a second before that second on,
        # however long Wine took to start the copy.
        due = t0 - t0 % 86400 + stamp + 2 - 0.5
        self.assertGreaterEqual(start.ms / 1000.0, due - 0.05)
        self.assertLessEqual(start.ms / 1000.0 - t0, 4.5)

    def test_the_wait_flag_returns_the_programs_exit_code_after_it_ended(self):
        result = self.execute('/P:%s "/C:" /D:0 /S:32769' % winpath(self.probe),
                              env={"PROBE_EXIT": "77", "PROBE_HOLD_MS": "1500"})
        [start] = self.wait_for_probes(1)
        self.assertEqual(result.exit_code, 77)
        self.assertEqual(start.show, 1)
        self.assertEqual(start.command, (winpath(self.probe) + " ").encode())  # the blank stays
        self.assertGreaterEqual(result.seconds, 1.5)

    def test_a_program_that_does_not_exist_gives_zero_and_shows_nothing(self):
        missing = winpath(self.dir + "/missing.exe")
        result = self.execute('/P:%s "/C:x" /S:1' % missing, relay=True)
        self.assertEqual(result.exit_code, 0)
        self.assertEqual(len(traced_calls(result, "KERNEL32.CreateProcessA")), 1)
        self.assertEqual(traced_calls(result, "user32.MessageBoxA"), [])

    def test_a_program_under_a_folder_with_a_blank_starts_and_the_shorter_path_does_not(self):
        program = self.place(PROBE_EXE, "my tools", "probe.exe")
        self.place(PROBE_EXE, "my.exe")  # a decoy at the shorter path
        result = self.execute('"/P:%s" "/C:one two" /S:1' % winpath(program))
        [start] = self.wait_for_probes(1)
        time.sleep(1)
        self.assertEqual(len(self.probes()), 1)
        self.assertEqual(start.exe, winpath(program).encode())
        self.assertEqual(start.command, ('"%s" one two' % winpath(program)).encode())
        self.assertEqual(result.exit_code, start.pid)

    def test_long_arguments_arrive_whole(self):
        arguments = "".join(chr(ord("a") + i % 26) for i in range(1000))
        self.execute('/P:%s "/C:%s" /S:1' % (winpath(self.probe), arguments))
        [start] = self.wait_for_probes(1)
        self.assertEqual(start.command, (winpath(self.probe) + " " + arguments).encode())

    def test_a_copy_stamped_before_midnight_starts_after_its_delay(self):
        # Put the local clock at 00:00:00.5 for Postpone and its children; the
        # stamp lies two seconds before midnight and the delay is four.
        t0 = time.time()
        offset = int(round(0.5 - (t0 % 86400))) % 86400
        tz = "AAA-%02d:%02d:%02d" % (offset // 3600, offset // 60 % 60, offset % 60)
        result = self.execute('/P:%s "/C:x" /D:4 /S:1 /T:86398' % winpath(self.probe), env={"TZ": tz},
                              timeout=allowed(15))
        [start] = self.wait_for_probes(1, timeout=10)
        self.assertEqual(result.exit_code, start.pid)
        # The copy reads 00:00:01 or later (Wine's start of a WOW64 prefix can
        # take seconds), three or more seconds after the stamp, and waits the
        # second or none that is left: at most about 1 to 2 s after Postpone
        # itself started (the starter's t0). A copy that ignored the stamp
        # would wait 4 s.
        waited = start.ms / 1000.0 - int(output_fields(result.output)["t0"]) / 1000.0
        self.assertGreaterEqual(waited, 0)
        self.assertLessEqual(waited, 2.6)


if __name__ == "__main__":
    unittest.main()
