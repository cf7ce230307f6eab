"""postpone-check for real: what it says starts is what Postpone.exe starts,
with the same copy command lines; and the file-level findings under Wine."""
import glob
import os
import random
import re
import subprocess
import tempfile
import time
import unittest

from harness import (allowed, BUILD, MAKELINK_EXE, POSTPONE_EXE, PREFIX, PROBE_EXE, WineTest, run_exact, traced_calls,
                     wait_for_prefix_idle, wine_env, winpath)

CHECKER_EXE = os.path.join(BUILD, "postpone-check.exe")
EXAMPLE = os.path.join(os.path.dirname(__file__), "..", "..", "examples", "postpone.ini")
STAMP_PLACEHOLDER = b"<second of the day>"


def make_link(link, target, arguments, folder, show=1):
    """A shortcut made through the shell-link interface; all paths Windows paths."""
    done = subprocess.run(["wine", MAKELINK_EXE, link, target, arguments, folder, str(show)], env=wine_env(),
                          capture_output=True, timeout=allowed(60))
    assert done.returncode == 0, done


def user_startup_folder():
    """The prefix user's Startup folder: (its Linux path, its Windows path)."""
    [folder] = [f for f in glob.glob(os.path.join(PREFIX, "drive_c", "users", "*", "AppData", "Roaming", "Microsoft",
                                                  "Windows", "Start Menu", "Programs", "StartUp"))
                if "/Public/" not in f]
    user = folder.split(os.sep + "users" + os.sep, 1)[1].split(os.sep, 1)[0]
    return folder, "C:\\users\\%s\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp" % user


def unescape_trace(text):
    """A string argument of the relay trace as bytes (Wine escapes \\, ", control and high bytes)."""
    out = bytearray()
    i = 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            nxt = text[i + 1]
            if nxt == "x":
                out.append(int(text[i + 2:i + 4], 16))
                i += 4
                continue
            out += {"n": b"\n", "r": b"\r", "t": b"\t"}.get(nxt, nxt.encode("latin-1"))
            i += 2
            continue
        out += text[i].encode("latin-1")
        i += 1
    return bytes(out)


def traced_commands(result):
    """The command lines list mode handed to CreateProcessA: (bytes, whole?)."""
    commands = []
    for call in traced_calls(result, "KERNEL32.CreateProcessA"):
        quoted = call.split(" ", 1)[1]
        end = 1
        while quoted[end] != '"':
            end += 2 if quoted[end] == "\\" else 1
        commands.append((unescape_trace(quoted[1:end]), not quoted.startswith('"...', end)))
    return commands


class Report:
    def __init__(self, code, output):
        self.code = code
        self.lines = output.split(b"\r\n")
        self.text = output
        self.copies = {}  # entry number: (copy, command), for each entry handed to a copy
        self.starts = {}  # the same for those whose program the checker expects to start
        for i, line in enumerate(self.lines):
            match = re.match(rb"entry (\d+): (starts|fails to start) ", line)
            if match:
                copy, command = self.lines[i + 1], self.lines[i + 2]
                assert copy.startswith(b"    copy: ") and command.startswith(b"    command: "), line
                self.copies[int(match.group(1))] = (copy[10:], command[13:])
                if match.group(2) == b"starts":
                    self.starts[int(match.group(1))] = self.copies[int(match.group(1))]

    def has(self, line):
        return line.encode("cp1252") in self.lines


class CheckerCase(WineTest):
    """A scratch folder with Postpone.exe, its settings file and a probe, and
    the checker run on it."""

    def setUp(self):
        super().setUp()
        self.exe = self.place(POSTPONE_EXE, "Postpone.exe")
        self.ini = os.path.join(self.dir, "postpone.ini")
        self.probe = self.place(PROBE_EXE, "probe.exe")

    def check(self, *arguments, env=None, checker=None):
        checker = checker or self.place(CHECKER_EXE, "postpone-check.exe")
        with tempfile.TemporaryFile() as out:
            done = subprocess.run(["wine", checker] + list(arguments), env=wine_env(dict(self.env, **(env or {}))),
                                  stdout=out, stderr=subprocess.DEVNULL, timeout=allowed(120))
            out.seek(0)
            return Report(done.returncode, out.read())

    def write(self, content, path=None):
        with open(path or self.ini, "wb") as f:
            f.write(content if isinstance(content, bytes) else content.encode("cp1252"))

    def assert_agrees_with_postpone(self, report, probe_entries=()):
        """List mode starts exactly the copies the report lists, in entry order,
        and the probes among their programs get exactly the reported commands."""
        result = run_exact('"%s"' % winpath(self.exe), self.env, relay=True, timeout=120)
        self.assertEqual(result.exit_code, len(report.copies), report.text[:3000])
        commands = traced_commands(result)
        self.assertEqual(len(commands), len(report.copies))
        for (copy, whole), (n, (expected, _)) in zip(commands, sorted(report.copies.items())):
            prefix = expected.split(STAMP_PLACEHOLDER)[0]
            if whole:
                self.assertRegex(copy, re.escape(prefix) + rb"\d+$", "entry %d" % n)
            else:  # the trace cuts long strings: what it shows is the start
                self.assertTrue(prefix.startswith(copy), "entry %d" % n)
        self.assertEqual(traced_calls(result, "user32.MessageBoxA"), [])
        expected = sorted(report.starts[n][1] for n in probe_entries)
        self.wait_for_probes(len(expected), timeout=30)
        time.sleep(1)
        self.assertEqual(sorted(s.command for s in self.probes()), expected)


class CheckerTest(CheckerCase):
    def test_the_example_is_explained_and_agrees_with_postpone(self):
        with open(EXAMPLE, "rb") as f:
            self.write(f.read())
        report = self.check()
        self.assertEqual(report.code, 1)  # entry 3 is skipped on purpose
        self.assertEqual(sorted(report.starts), [1, 2, 4])
        self.assertTrue(report.has('entry 3: skipped: CmdLine3 is missing (for no arguments write CmdLine3="""")'))
        # Two entries without WndStyle, and nothing in the test prefix starts Postpone at logon.
        self.assertTrue(report.has("summary: 3 entries start, 0 fail, 1 skipped, 3 warnings"))
        self.assertIn(b"warning: nothing found starts %s at logon" % winpath(self.exe).encode(), report.text)
        # The example's programs append to demo.log; here only the copies count.
        self.assert_agrees_with_postpone(report)

    def test_a_generated_mix_of_valid_and_broken_entries_agrees_with_postpone(self):
        rng = random.Random(11)
        probe = winpath(self.probe)
        folder = self.place(PROBE_EXE, "my tools", "the probe.exe")
        programs = [probe, winpath(folder), "%PROBE_HOME%\\probe.exe", winpath(self.dir) + "\\missing.exe"]
        arguments = ["x", '""""', '""', "", 'say "hi there" /hidden', "a b", "NoNeNi", "/h"]
        delays = ["0", "-1", "", "abc", "0x", "-3"]
        styles = [None, "1", "7", "-2", "3x"]
        lines, probe_entries = ["[Launch]"], []
        for n in range(1, 41):
            keys = {}
            if rng.random() < 0.9:
                keys["Program"] = rng.choice(programs + ["", "NoNeNi"])
            if rng.random() < 0.9:
                keys["CmdLine"] = rng.choice(arguments)
            if rng.random() < 0.9:
                keys["DelaySec"] = rng.choice(delays)
            style = rng.choice(styles)
            if style is not None:
                keys["WndStyle"] = style
            for stem, value in keys.items():
                lines.append("%s%d=%s" % (stem, n, value))
        lines += ["Program101=%s" % probe, "CmdLine101=x", "DelaySec101=0", "Delay5=3", "Program07=x"]
        self.write("\r\n".join(lines) + "\r\n")
        # A variable of the user's, as a logon gives it (the checker judges
        # entries in that environment, not in its console's).
        self.env.update(PROBE_HOME=winpath(self.dir))
        subprocess.run(["wine", "reg", "add", "HKCU\\Environment", "/v", "PROBE_HOME", "/d", winpath(self.dir), "/f"],
                       env=wine_env(), capture_output=True, check=True, timeout=allowed(60))
        self.addCleanup(subprocess.run, ["wine", "reg", "delete", "HKCU\\Environment", "/v", "PROBE_HOME", "/f"],
                        env=wine_env(), capture_output=True, timeout=allowed(60))
        report = self.check()
        self.assertEqual(report.code, 1)
        self.assertTrue(report.starts)
        for n, (_, command) in report.copies.items():
            self.assertEqual(n in report.starts, b"missing.exe" not in command, command)
        probe_entries = list(report.starts)  # every program that starts is a probe
        self.assertTrue(report.has("warning: key Program101 in [Launch]: Postpone never reads it: entries are "
                                   "numbered 1 to 100"))
        self.assertIn(b"warning: key Delay5 in [Launch]: Postpone never reads it", report.text)
        self.assertIn(b"missing.exe does not exist: the start would fail without a word", report.text)
        self.assert_agrees_with_postpone(report, probe_entries)

    def test_hostile_files_agree_with_postpone(self):
        probe = winpath(self.probe)
        entry = lambda n, args: "Program%d=%s\r\nCmdLine%d=%s\r\nDelaySec%d=0\r\n" % (n, probe, n, args, n)
        garbage = random.Random(6).randbytes(20000).replace(b"[", b"(")
        long_arguments = "".join(chr(ord("A") + i % 26) for i in range(10000))
        cases = {
            "garbage": (random.Random(7).randbytes(50000), 2, []),
            "garbage then a section": (garbage + b"\r\n[Launch]\r\n" + entry(1, "after").encode(), 1, [1]),
            "100000 lines": (("[Launch]\r\n" + "".join("Junk%d=%d\r\n" % (i, i) for i in range(100000)) +
                              entry(7, "late")).encode(), 1, [7]),
            "long values": (("[Launch]\r\n" + entry(1, long_arguments) + "Program2=C:\\%s\\missing.exe\r\n"
                             "CmdLine2=x\r\nDelaySec2=0\r\n" % ("d" * 10000)).encode(), 1, [1]),
        }
        for name, (content, code, probe_entries) in cases.items():
            with self.subTest(name):
                self.write(content)
                if os.path.exists(self.log):
                    os.remove(self.log)
                report = self.check()
                self.assertEqual(report.code, code, report.text[-2000:])
                self.assertTrue(report.lines[-2].startswith(b"summary: "))
                self.assert_agrees_with_postpone(report, probe_entries)
                wait_for_prefix_idle()

    def test_a_settings_file_that_is_a_folder_or_a_dangling_link(self):
        os.mkdir(self.ini)
        report = self.check()
        self.assertEqual(report.code, 2)
        self.assertTrue(report.has("error: %s is a folder, not a settings file" % winpath(self.ini).lower()))
        self.assert_agrees_with_postpone(report)  # Postpone starts nothing either
        os.rmdir(self.ini)
        os.symlink(os.path.join(self.dir, "nowhere.ini"), self.ini)
        report = self.check()
        self.assertEqual(report.code, 2)
        self.assertTrue(report.has("error: no settings file: %s does not exist" % winpath(self.ini).lower()))
        self.assert_agrees_with_postpone(report)

    def test_a_byte_order_mark_is_a_warning(self):
        self.write(b"\xef\xbb\xbf[Launch]\r\nProgram1=%s\r\nCmdLine1=x\r\nDelaySec1=0\r\nWndStyle1=1\r\n" %
                   winpath(self.probe).encode())
        report = self.check()
        self.assertEqual(report.code, 1)
        self.assertIn(b"warning: the settings file starts with a UTF-8 byte-order mark: Windows' settings reader then "
                      b"misses its first section ([Launch])", report.text)

    def test_paths_a_renamed_executable_a_folder_and_a_missing_file(self):
        self.write("[Launch]\r\nProgram1=%s\r\nCmdLine1=x\r\nDelaySec1=5\r\nWndStyle1=1\r\n" % winpath(self.probe))
        renamed = self.place(POSTPONE_EXE, "Postpone (1).exe")
        report = self.check(winpath(renamed))
        self.assertEqual(report.code, 2)
        self.assertTrue(report.has("error: no settings file: %s does not exist" %
                                   (winpath(self.dir).lower() + "\\postpone (1).ini")))
        self.assertIn(b"\\postpone.ini is there: rename the executable to Postpone.exe", report.text)

        report = self.check(winpath(self.dir))  # a folder: the Postpone.exe in it
        self.assertEqual(report.code, 1, report.text)  # nothing starts it at logon
        self.assertTrue(report.has("executable: %s" % winpath(self.exe)))
        self.assertTrue(report.has("entry 1: starts after 5 s, normal, program %s, arguments x" % winpath(self.probe)))

        report = self.check(winpath(self.ini))  # the settings file itself
        self.assertEqual(report.code, 1, report.text)

        os.remove(self.ini)
        report = self.check()
        self.assertEqual(report.code, 2)
        self.assertTrue(report.has("error: no settings file: %s does not exist" % winpath(self.ini).lower()))
        self.assertEqual(self.check(winpath(self.dir + "/nowhere")).code, 2)

    def test_non_ascii_paths_and_blanks_come_out_as_the_bytes_postpone_sees(self):
        program = self.place(PROBE_EXE, "Übung mit Leerzeichen", "prüfe.exe")
        self.write("[Launch]\r\nProgram1=%s\r\nCmdLine1=ä ö\r\nDelaySec1=0\r\nWndStyle1=1\r\n" % winpath(program))
        report = self.check()
        self.assertEqual(report.code, 1, report.text)  # nothing starts it at logon
        self.assertEqual(report.starts[1][1], ('"%s" ä ö' % winpath(program)).encode("cp1252"))
        self.assert_agrees_with_postpone(report, [1])

    def test_a_console_shows_the_characters_not_the_ansi_bytes(self):
        # `script` gives the checker a terminal, which Wine makes its console.
        folder = os.path.join(self.dir, "Übung")
        exe = self.place(POSTPONE_EXE, "Übung", "Postpone.exe")
        self.write("[Launch]\r\nProgram1=C:\\Übung\\x.exe\r\nCmdLine1=ä\r\nDelaySec1=0\r\n",
                   os.path.join(folder, "postpone.ini"))
        checker = self.place(CHECKER_EXE, "postpone-check.exe")
        command = "wine '%s' '%s'" % (checker, winpath(exe))
        # A console of its own asks for a key before it closes: one is given.
        done = subprocess.run(["script", "-qec", command, "/dev/null"], env=wine_env(self.env), capture_output=True,
                              input=b"\n", timeout=allowed(120))
        shown = done.stdout.decode("utf-8", errors="replace")
        self.assertIn("program C:\\Übung\\x.exe, arguments ä", shown)
        self.assertNotIn("\ufffd", shown)

    def test_shortcuts_and_the_start_in_of_a_startup_shortcut_agree_with_postpone(self):
        """An entry that names a shortcut is named with the shortcut's target;
        a Startup shortcut's Start in is where .\\ paths start from; and under
        each Start in the verdicts are what Postpone starts from there."""
        self.place(PROBE_EXE, "sub", "probe.exe")
        probe = winpath(self.probe)
        link = winpath(os.path.join(self.dir, "probe.lnk"))
        make_link(link, probe, "from-link", winpath(self.dir))
        self.write("[Launch]\r\n"
                   "Program1=%s\r\nCmdLine1=link\r\nDelaySec1=0\r\nWndStyle1=1\r\n"
                   "Program2=.\\sub\\probe.exe\r\nCmdLine2=dot\r\nDelaySec2=0\r\nWndStyle2=1\r\n"
                   "Program3=%s\r\nCmdLine3=nowhere\r\nDelaySec3=0\r\nWndStyle3=1\r\nStartIn3=%s\r\n"
                   "Program4=%s\r\nCmdLine4=plain\r\nDelaySec4=0\r\nWndStyle4=1\r\n"
                   % (link, probe, winpath(self.dir + "/nowhere"), probe))
        startup, startup_windows = user_startup_folder()
        shortcut = startup_windows + "\\Postpone-e2e.lnk"
        try:
            for start_in, dot_found in ((self.dir, True), (os.path.join(self.dir, "sub"), False)):
                make_link(shortcut, winpath(self.exe), "", winpath(start_in))
                report = self.check()
                self.assertTrue(report.has("started at logon by: %s, Start in %s" % (shortcut, winpath(start_in))),
                                report.text)
                self.assertIn(("warning: entry 1: Program1: %s is a shortcut: Windows does not start it as a program "
                               "(error 193, ERROR_BAD_EXE_FORMAT); write Program1=%s and CmdLine1=from-link, and "
                               "StartIn1=%s" % (link, probe, winpath(self.dir))).encode(), report.text)
                self.assertIn(b"warning: entry 3: StartIn3: ", report.text)
                self.assertEqual(b"warning: entry 2: Program2: " in report.text, not dot_found, report.text)

                if os.path.exists(self.log):
                    os.remove(self.log)
                self.assertEqual(run_exact('"%s"' % winpath(self.exe), self.env, cwd=start_in).exit_code, 4)
                expected = [b"dot", b"plain"] if dot_found else [b"plain"]
                self.wait_for_probes(len(expected))
                time.sleep(1)
                self.assertEqual(sorted(s.command.rsplit(b" ", 1)[1] for s in self.probes()), expected)
                wait_for_prefix_idle()
        finally:
            for leftover in glob.glob(os.path.join(startup, "Postpone-e2e.lnk")):
                os.remove(leftover)

    def test_the_advice_for_a_shortcut_and_a_script_written_as_shown_starts_the_intended_command(self):
        scripts = os.path.join(self.dir, "my scripts")
        os.makedirs(scripts)
        script = winpath(os.path.join(scripts, "a.vbs"))
        with open(os.path.join(scripts, "a.vbs"), "w", newline="") as f:  # it leaves a file to say it ran
            f.write('Set fso = CreateObject("Scripting.FileSystemObject")\r\n'
                    'fso.CreateTextFile(fso.GetParentFolderName(WScript.ScriptFullName) & "\\ran.txt").Close\r\n')
        link = winpath(os.path.join(self.dir, "probe.lnk"))
        quoted = '"%s"' % winpath(os.path.join(scripts, "notes.txt"))
        make_link(link, winpath(self.probe), quoted, winpath(scripts))
        self.write("[Launch]\r\nProgram1=%s\r\nCmdLine1=x\r\nDelaySec1=0\r\nWndStyle1=1\r\n"
                   "Program2=%s\r\nCmdLine2=y\r\nDelaySec2=0\r\nWndStyle2=1\r\n" % (link, script))
        advice = [re.search(rb"; write (Program\d=.*) and (CmdLine\d=.*?)(?:, and (StartIn\d=.*))?$", line)
                  for line in self.check().lines if b"; write Program" in line]
        self.assertEqual(len(advice), 2, advice)
        lines = [b"[Launch]"]
        for n, found in enumerate(advice, 1):
            lines += [value for value in found.groups() if value] + [b"DelaySec%d=0" % n, b"WndStyle%d=1" % n]
        self.write(b"\r\n".join(lines) + b"\r\n")  # as shown, byte for byte
        report = self.check()
        self.assertEqual(sorted(report.starts), [1, 2], report.text)
        self.assertEqual(report.starts[1][1], ("%s %s" % (winpath(self.probe), quoted)).encode())
        self.assertTrue(report.starts[2][1].endswith(b'wscript.exe "%s"' % script.encode()), report.starts[2][1])
        self.assert_agrees_with_postpone(report, [1])
        self.assertEqual(self.probes()[0].cwd, winpath(scripts).encode())
        deadline = time.monotonic() + 20
        while not os.path.exists(os.path.join(scripts, "ran.txt")) and time.monotonic() < deadline:
            time.sleep(0.2)
        self.assertTrue(os.path.exists(os.path.join(scripts, "ran.txt")), "the script did not run")

    def test_it_never_starts_a_program_nor_writes_a_file(self):
        self.write("[Launch]\r\nProgram1=%s\r\nCmdLine1=x\r\nDelaySec1=0\r\n" % winpath(self.probe))
        before = sorted(os.listdir(self.dir))
        report = self.check()
        self.assertEqual(report.code, 1)  # no WndStyle1
        time.sleep(1)
        self.assertEqual(self.probes(), [])
        self.assertEqual(sorted(os.listdir(self.dir)), sorted(before + ["postpone-check.exe"]))


if __name__ == "__main__":
    unittest.main()
