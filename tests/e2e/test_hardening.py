"""Hostile settings files, running out of memory, the case mapping without
the user-interface library, and what a waiting copy loads."""
import os
import random
import subprocess
import time
import unittest

from harness import (allowed, BUILD, POSTPONE_EXE, PROBE_EXE, STARTER_EXE, WineTest, loaded_dlls_by_process, output_fields, run_exact,
                     seconds_of_day, traced_calls, wait_for_prefix_idle, wine_env, winpath)

TOOLS = os.path.join(BUILD, "tests", "e2e")
ALLOC_LIMIT_EXE = os.path.join(TOOLS, "postpone_alloc_limit.exe")
CASEMAP_EXE = os.path.join(TOOLS, "casemap_check.exe")


class HostileSettingsTest(WineTest):
    """Postpone never crashes, never shows a box, starts only accepted entries."""

    def setUp(self):
        super().setUp()
        self.exe = self.place(POSTPONE_EXE, "Postpone.exe")
        self.ini = os.path.join(self.dir, "postpone.ini")
        self.probe = winpath(self.place(PROBE_EXE, "probe.exe"))

    def entry(self, n, arguments, delay=0, newline="\r\n"):
        return newline.join(["Program%d=%s" % (n, self.probe), "CmdLine%d=%s" % (n, arguments),
                             "DelaySec%d=%d" % (n, delay)]) + newline

    def run_with(self, content, expected_arguments):
        if content is not None:
            with open(self.ini, "wb") as f:
                f.write(content if isinstance(content, bytes) else content.encode("latin-1"))
        result = run_exact('"%s"' % winpath(self.exe), self.env, relay=True, timeout=120)
        self.assertEqual(traced_calls(result, "user32.MessageBoxA"), [])
        self.assertEqual(result.exit_code, len(expected_arguments))
        self.wait_for_probes(len(expected_arguments))
        time.sleep(1)
        commands = sorted(s.command for s in self.probes())
        self.assertEqual(commands, sorted((self.probe + " " + a).encode("latin-1") for a in expected_arguments))

    def test_binary_garbage_then_a_valid_section(self):
        garbage = random.Random(6).randbytes(20000).replace(b"[", b"(")
        self.run_with(garbage + b"\r\n[Launch]\r\n" + self.entry(1, "after-garbage").encode(), ["after-garbage"])

    def test_pure_garbage_starts_nothing(self):
        self.run_with(random.Random(7).randbytes(50000), [])

    def test_a_hundred_thousand_lines(self):
        lines = ["Junk%d=%d" % (i, i) for i in range(100000)]
        self.run_with("[Launch]\r\n" + "\r\n".join(lines) + "\r\n" + self.entry(7, "late"), ["late"])

    def test_a_utf8_byte_order_mark_and_lf_only_lines(self):
        self.run_with(b"\xef\xbb\xbf[Launch]\n" + self.entry(1, "bom", newline="\n").encode(), ["bom"])

    def test_carriage_return_only_lines(self):
        self.run_with("[Launch]\r" + self.entry(2, "cr", newline="\r"), ["cr"])

    def test_duplicate_sections_and_keys(self):
        # The profile reader takes the first of duplicate keys and only the
        # first of duplicate sections.
        content = ("[Launch]\r\n" + self.entry(1, "first") + "CmdLine1=second\r\n[Other]\r\nx=1\r\n[Launch]\r\n" +
                   self.entry(2, "second-section"))
        self.run_with(content, ["first"])

    def test_values_of_ten_thousand_characters(self):
        arguments = "".join(chr(ord("A") + i % 26) for i in range(10000))
        missing_program = "C:\\" + "d" * 10000 + "\\missing.exe"
        content = ("[Launch]\r\n" + self.entry(1, arguments) + "Program2=%s\r\nCmdLine2=x\r\nDelaySec2=0\r\n" %
                   missing_program)
        # Both entries are accepted; the second one's program cannot start.
        with open(self.ini, "w", newline="") as f:
            f.write(content)
        result = run_exact('"%s"' % winpath(self.exe), self.env, relay=True)
        self.assertEqual(result.exit_code, 2)
        self.assertEqual([s.command for s in self.wait_for_probes(1)], [(self.probe + " " + arguments).encode()])

    def test_a_settings_file_that_is_a_folder(self):
        os.mkdir(self.ini)
        self.run_with(None, [])

    def test_a_settings_file_that_cannot_be_read(self):
        os.symlink(os.path.join(self.dir, "nowhere.ini"), self.ini)
        self.run_with(None, [])


class OutOfMemoryTest(WineTest):
    """A test build of Postpone whose operator new fails after a given number
    of allocations: wherever memory runs out, the process ends quietly."""

    def setUp(self):
        super().setUp()
        self.exe = winpath(self.place(ALLOC_LIMIT_EXE, "Postpone.exe"))
        self.probe = winpath(self.place(PROBE_EXE, "probe.exe"))

    def sweep(self, command, limits, success_code, extra=None):
        outcomes = set()
        for limit in limits:
            env = dict(self.env, POSTPONE_TEST_ALLOC_LIMIT=str(limit), WINEDEBUG="-all,+pid,+loaddll",
                       STARTER_CMD=command, **(extra or {}))
            done = subprocess.run(["wine", STARTER_EXE], env=wine_env(env), capture_output=True, timeout=allowed(60))
            out = done.stdout.decode()
            self.assertIn("exit=", out, out)
            code = int(output_fields(out)["exit"])
            self.assertIn(code, (0, success_code), "limit %d" % limit)
            outcomes.add(code)
            trace = done.stderr.decode("latin-1")
            self.assertNotIn("abnormal program termination", trace)
            self.assertNotIn("terminate called", trace)
            for modules in loaded_dlls_by_process(trace).values():
                if any(m.endswith("\\postpone.exe") for m in modules):
                    self.assertFalse(any(m.endswith("\\user32.dll") for m in modules),
                                     "limit %d: a box could have been shown" % limit)
            if code != 0:
                wait_for_prefix_idle()
        self.assertEqual(outcomes, {0, success_code})  # both ends were reached

    def test_list_mode(self):
        with open(os.path.join(self.dir, "postpone.ini"), "w", newline="") as f:
            f.write("[Launch]\r\n")
            for n in (1, 2):
                f.write("Program%d=%s\r\nCmdLine%d=entry \"%d\"\r\nDelaySec%d=0\r\n" % (n, self.probe, n, n, n))
        self.sweep('"%s"' % self.exe, [0, 1, 2, 3, 5, 8, 13, 21, 34, 55, 89, 100, 110, 120, 130, 140, 1000], 2)

    def test_execute_mode(self):
        # Waiting for the probe, which exits with 5, once the start went through.
        self.sweep('"%s" /E "/P:%s" "/C:a b" /S:32768' % (self.exe, self.probe), list(range(0, 60, 4)) + [80, 200], 5,
                   {"PROBE_EXIT": "5"})

class PlatformTest(WineTest):
    def test_case_mapping_matches_the_user_interface_library_in_several_code_pages(self):
        # hi_IN has no ANSI code page of its own: Wine makes it UTF-8 (65001).
        for lang in ("C.UTF-8", "ru_RU.UTF-8", "tr_TR.UTF-8", "el_GR.UTF-8", "ja_JP.UTF-8", "hi_IN.UTF-8"):
            done = subprocess.run(["wine", CASEMAP_EXE], env=wine_env({"LANG": lang, "LC_ALL": lang}),
                                  capture_output=True, text=True, timeout=allowed(60))
            self.assertEqual(done.returncode, 0, "%s: %s" % (lang, done.stdout))
            self.assertIn("differences=0", done.stdout)
            if lang == "hi_IN.UTF-8":
                self.assertIn("code page 65001", done.stdout)

    def test_help_is_seen_beside_a_character_whose_case_changes_its_length(self):
        # With UTF-8 as the code page, turned a upper-cases to three bytes: it
        # stays as it is, and the /h beside it still asks for help. (The
        # command goes as bytes through a file: this machine may have no
        # hi_IN locale to carry it through the environment.)
        exe = self.place(POSTPONE_EXE, "Postpone.exe")
        command = os.path.join(self.dir, "command")
        for tail, boxes in (("\u0250/h", 1), ("\u0250/x", 0)):
            with open(command, "wb") as f:
                f.write(('"%s" %s' % (winpath(exe), tail)).encode("utf-8"))
            result = run_exact("", dict(self.env, STARTER_CMD_FILE=winpath(command), LANG="hi_IN.UTF-8",
                                        LC_ALL="hi_IN.UTF-8"), relay=True)
            self.assertEqual(result.exit_code, 0)
            self.assertEqual(len(traced_calls(result, "user32.MessageBoxA")), boxes, tail)

    def test_a_waiting_copy_does_not_load_the_user_interface_library(self):
        exe = self.place(POSTPONE_EXE, "Postpone.exe")
        env = wine_env(dict(self.env, WINEDEBUG="-all,+pid,+loaddll", STARTER_CMD='"%s" /E /P:x.exe "/C:" /D:60 /T:%d' %
                            (winpath(exe), seconds_of_day(time.time()))))
        with open(os.path.join(self.dir, "trace"), "wb") as trace, open(os.path.join(self.dir, "out"), "wb") as out:
            starter = subprocess.Popen(["wine", STARTER_EXE], env=env, stdout=out, stderr=trace)
            time.sleep(4)
            self.assertIsNone(starter.poll())  # the copy is still waiting
            wait_for_prefix_idle(timeout=0.1)  # ends it
            starter.wait(timeout=allowed(30))
        with open(os.path.join(self.dir, "out")) as f:
            output = f.read()
        self.assertNotIn("exit=", output)
        pid = int(output.split("pid=", 1)[1].split()[0])
        with open(os.path.join(self.dir, "trace"), encoding="latin-1") as f:
            modules = loaded_dlls_by_process(f.read())[pid]
        self.assertTrue(any(m.endswith("\\postpone.exe") for m in modules), modules)
        self.assertFalse([m for m in modules if "user32" in m or "gdi32" in m], modules)


if __name__ == "__main__":
    unittest.main()
