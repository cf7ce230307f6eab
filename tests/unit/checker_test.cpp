// The settings checker through the double: each skip rule, each warning, the
// file-level findings, what PATH means, and the exit code.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "advice.h"
#include "check_main.h"
#include "entry_check.h"
#include "key_names.h"
#include "checker_fixture.h"

namespace {

TEST_F(CheckerTest, ACompleteEntryStartsWithItsCopyAndCommandAndExitsWithZero) {
    Set(Complete());
    EXPECT_EQ(Check(), 0);
    EXPECT_TRUE(Has("settings file: " + kSettings)) << text;
    EXPECT_TRUE(Has("executable: " + kExe)) << text;
    EXPECT_TRUE(Has("started at logon by: " + kShortcut + ", Start in C:\\Tools")) << text;
    EXPECT_TRUE(Has("entry 1: starts after 30 s, normal, program C:\\Apps\\a.exe, arguments -x")) << text;
    EXPECT_TRUE(Has("    copy: C:\\Tools\\Postpone.exe /E /P:C:\\Apps\\a.exe \"/C:-x\" /D:30 /S:1 /T:<second of the day>"))
        << text;
    EXPECT_TRUE(Has("    command: C:\\Apps\\a.exe -x")) << text;
    EXPECT_TRUE(Has("summary: 1 entry starts, 0 fail, 0 skipped, 0 warnings")) << text;
    EXPECT_TRUE(Fake.created.empty());  // it never starts anything
    EXPECT_TRUE(Fake.boxes.empty());
}

struct Finding {
    const char* what;
    Keys keys;
    std::string line;  // a whole line of the report
    int32_t exitCode;
};

TEST_F(CheckerTest, ExplainsEverySkipRuleAndEveryWarning) {
    const std::string noArgumentsHint = " (for no arguments write CmdLine1=\"\"\"\")";
    const std::vector<Finding> findings = {
        {"program missing", Without(Complete(), "Program1"), "entry 1: skipped: Program1 is missing", 2},
        {"program empty", With(Complete(), "Program1", ""), "entry 1: skipped: Program1 is empty", 2},
        {"program sentinel", With(Complete(), "Program1", "NoNeNi"),
         "entry 1: skipped: Program1 is NoNeNi, a text that reads as a missing key", 2},
        {"arguments missing", Without(Complete(), "CmdLine1"),
         "entry 1: skipped: CmdLine1 is missing" + noArgumentsHint, 2},
        {"arguments empty", With(Complete(), "CmdLine1", ""), "entry 1: skipped: CmdLine1 is empty" + noArgumentsHint, 2},
        {"delay missing", Without(Complete(), "DelaySec1"), "entry 1: skipped: DelaySec1 is missing", 2},
        {"delay -1", With(Complete(), "DelaySec1", "-1"), "entry 1: skipped: DelaySec1 is -1, which counts as missing", 2},
        {"delay empty", With(Complete(), "DelaySec1", ""), "entry 1: skipped: DelaySec1 is empty", 2},
        {"no arguments", With(Complete(), "CmdLine1", "\"\""), "    command: C:\\Apps\\a.exe ", 0},
        {"style missing", Without(Complete(), "WndStyle1"),
         "warning: entry 1: WndStyle1 is missing: the program starts hidden", 1},
        {"style 7", With(Complete(), "WndStyle1", "7"),
         "warning: entry 1: WndStyle1=7 is outside 0 to 6: the program starts hidden", 1},
        {"style -3", With(Complete(), "WndStyle1", "-3"),
         "warning: entry 1: WndStyle1=-3 is outside 0 to 6: the program starts hidden", 1},
        {"style 0 chosen", With(Complete(), "WndStyle1", "0"), "entry 1: starts after 30 s, hidden, program "
         "C:\\Apps\\a.exe, arguments -x", 0},
        {"delay with a unit", With(Complete(), "DelaySec1", "30s"),
         "warning: entry 1: DelaySec1=30s is not a plain integer: Postpone reads it as 30", 1},
        {"delay of letters", With(Complete(), "DelaySec1", "abc"),
         "warning: entry 1: DelaySec1=abc is not a plain integer: Postpone reads it as 0", 1},
        {"delay that wraps", With(Complete(), "DelaySec1", "4294967296"),
         "warning: entry 1: DelaySec1=4294967296 lies outside the range of numbers: Postpone reads it as 0", 1},
        {"style not plain", With(Complete(), "WndStyle1", "3x"),
         "warning: entry 1: WndStyle1=3x is not a plain integer: Postpone reads it as 3", 1},
        {"missing program", With(Complete(), "Program1", "C:\\Apps\\b.exe"),
         "warning: entry 1: Program1: C:\\Apps\\b.exe does not exist: the start would fail without a word", 2},
        {"program is a folder", With(Complete(), "Program1", "C:\\Apps"),
         "warning: entry 1: Program1: C:\\Apps is a folder, not a program: the start would fail without a word", 2},
        {"bare name found", With(Complete(), "Program1", "notepad"), "    command: notepad -x", 0},
        {"bare name missing", With(Complete(), "Program1", "notepad3.exe"),
         "warning: entry 1: Program1: notepad3.exe is not in Postpone's folder, its working folder C:\\Tools, the "
         "Windows folders or PATH: the start would fail without a word", 2},
        {"extension added", With(Complete(), "Program1", "C:\\Apps\\a"), "    command: C:\\Apps\\a -x", 0},
        {"key above 100", With(Complete(), "Program101", "x"),
         "warning: key Program101 in [Launch]: Postpone never reads it: entries are numbered 1 to 100", 1},
        {"key 0", With(Complete(), "DelaySec0", "1"),
         "warning: key DelaySec0 in [Launch]: Postpone never reads it: entries are numbered 1 to 100", 1},
        {"leading zero", With(Complete(), "Program01", "x"),
         "warning: key Program01 in [Launch]: Postpone never reads it: entry numbers have no leading zeros: write "
         "Program1", 1},
        {"unknown stem", With(Complete(), "Delay1", "5"),
         "warning: key Delay1 in [Launch]: Postpone never reads it: its name is not Program, CmdLine, DelaySec, "
         "WndStyle, StartIn, WaitFor, WaitSec or WaitIdle followed by an entry number: did you mean DelaySec1?", 1},
        {"arguments stem", With(Complete(), "args2", "5"),
         "warning: key args2 in [Launch]: Postpone never reads it: its name is not Program, CmdLine, DelaySec, "
         "WndStyle, StartIn, WaitFor, WaitSec or WaitIdle followed by an entry number: did you mean CmdLine2?", 1},
        {"waits for a folder", With(With(Complete(), "WaitFor1", "C:\\Apps"), "WaitSec1", "90"),
         "entry 1: starts after 30 s, normal, program C:\\Apps\\a.exe, arguments -x, waits up to 90 s for C:\\Apps "
         "(there now)", 0},
        {"waits for a quiet machine", With(Complete(), "WaitIdle1", "20"),
         "entry 1: starts after 30 s, normal, program C:\\Apps\\a.exe, arguments -x, then waits until the processor is "
         "below 20 % for 5 s, at most 600 s, then starts it anyway", 0},
        {"first the path, then the quiet machine", With(With(With(Complete(), "WaitFor1", "C:\\Apps"), "WaitSec1", "90"),
                                                        "WaitIdle1", "50"),
         "entry 1: starts after 30 s, normal, program C:\\Apps\\a.exe, arguments -x, waits up to 90 s for C:\\Apps "
         "(there now), then until the processor is below 50 % for 5 s, within the same 90 s, then starts it anyway", 0},
        {"a quiet machine out of range", With(Complete(), "WaitIdle1", "100"),
         "warning: entry 1: WaitIdle1=100 is not a percentage from 1 to 99: Postpone does not wait for a quiet machine", 1},
        {"a quiet machine not plain", With(Complete(), "WaitIdle1", "30%"),
         "warning: entry 1: WaitIdle1=30% is not a plain integer: Postpone reads it as 30", 1},
        {"waits on its copy's line", With(With(Complete(), "WaitFor1", "V:\\Mail"), "WaitSec1", "-4"),
         "    copy: C:\\Tools\\Postpone.exe /E /P:C:\\Apps\\a.exe \"/C:-x\" /D:30 /S:1 /F:V:\\Mail /M:0 "
         "/T:<second of the day>", 0},
        {"a wait of 0 s looks once", With(With(Complete(), "WaitFor1", "C:\\Apps"), "WaitSec1", "0"),
         "entry 1: starts after 30 s, normal, program C:\\Apps\\a.exe, arguments -x, looks once for C:\\Apps (there now)",
         0},
        {"wait not there now", With(Complete(), "WaitFor1", "V:\\"),
         "entry 1: starts after 30 s, normal, program C:\\Apps\\a.exe, arguments -x, waits up to 600 s for V:\\ "
         "(not there now)", 0},
        {"wait relative", With(Complete(), "WaitFor1", "data"),
         "warning: entry 1: WaitFor1: data is relative: the copy looks for it from Postpone's working folder, "
         "C:\\Tools (C:\\Tools\\data, not there now); give the full path", 1},
        {"wait not plain", With(With(Complete(), "WaitFor1", "V:\\"), "WaitSec1", "2min"),
         "warning: entry 1: WaitSec1=2min is not a plain integer: Postpone reads it as 2", 1},
        {"program on a share", With(Complete(), "Program1", "\\\\nas\\tools\\a.exe"),
         "note: entry 1: Program1: \\\\nas\\tools\\a.exe is on the network share \\\\nas\\tools, which may not be "
         "connected yet at logon: WaitFor1=\\\\nas\\tools makes the copy wait for it after the delay", 2},
        {"folder on a mapped drive", With(Complete(), "StartIn1", "Z:\\Work"),
         "note: entry 1: StartIn1: Z:\\Work is on the network share Z:\\, which may not be connected yet at logon: "
         "WaitFor1=Z:\\ makes the copy wait for it after the delay", 2},
        {"no record", Complete(),
         "note: Postpone keeps no record of what it starts: LogFile=%LOCALAPPDATA%\\Postpone\\postpone.log in "
         "[Launch] makes it write one, which postpone-check then reads back under each entry", 0},
        {"record on its copy's line", With(Complete(), "LogFile", "C:\\Apps\\Logs\\p.log"),
         "    copy: C:\\Tools\\Postpone.exe /E /P:C:\\Apps\\a.exe \"/C:-x\" /D:30 /S:1 /L:C:\\Apps\\Logs\\p.log /N:1 "
         "/R:<run> /T:<second of the day>", 0},
        {"record far off", With(Complete(), "LogFile", "D:\\Logs\\Postpone\\p.log"),
         "warning: neither D:\\Logs\\Postpone nor the folder above it exists: Postpone makes only the record's own "
         "folder, so it records nothing", 1},
        {"record in the settings file", With(Complete(), "LogFile", "Postpone.INI"),
         "warning: LogFile names c:\\tools\\Postpone.INI, the settings file or Postpone itself: Postpone keeps no "
         "record there; give the record a name of its own", 1},
        {"no record yet", With(Complete(), "LogFile", "C:\\Apps\\Logs\\p.log"),
         "note: there is no record yet: Postpone writes it at its next run", 0},
        {"record at a drive's root", With(Complete(), "LogFile", "C:\\p.log"),
         "note: there is no record yet: Postpone writes it at its next run", 0},
        {"record drive-relative", With(Complete(), "LogFile", "C:p.log"),
         "warning: LogFile=C:p.log is relative to a drive's current folder, which a logon does not set: Postpone "
         "records nothing; write the full path (C:\\...)", 1},
        {"record the code page cannot spell", With(Complete(), "LogFile", "C:\\Users\\???\\p.log"),
         "warning: LogFile names C:\\Users\\???\\p.log, with a \"?\" or \"*\", which no file name holds (a character "
         "the ANSI code page cannot spell, say of a user name in another script, becomes \"?\"): Postpone records "
         "nothing; name a folder that the code page can spell", 1},
        {"record too long", With(Complete(), "LogFile", "C:\\Apps\\" + std::string(252, 'x')),
         "warning: LogFile names a path of 260 characters, C:\\Apps\\" + std::string(252, 'x') + ": Postpone writes "
         "through the ANSI file functions, which take fewer than 260; it records nothing", 1},
        {"record a folder", With(Complete(), "LogFile", "C:\\Apps"),
         "warning: C:\\Apps is a folder: Postpone records nothing there", 1},
        {"record numbered", With(Complete(), "LogFile1", "p.log"),
         "warning: key LogFile1 in [Launch]: Postpone never reads it: LogFile takes no entry number: write LogFile", 1},
        {"long copy", With(Complete(), "CmdLine1", std::string(32740, 'a')),
         "warning: entry 1: the copy's command line is 32807 characters, more than the 32766 the platform takes: this "
         "entry never starts", 2},
    };
    for (const Finding& finding : findings) {
        ResetFake();
        ResetGlobals();
        SetUp();
        Fake.networkDrives.insert("Z:\\");
        Set(finding.keys);
        EXPECT_EQ(Check(), finding.exitCode) << finding.what << "\n" << text.substr(0, 2000);
        EXPECT_TRUE(Has(finding.line)) << finding.what << "\n" << text.substr(0, 2000);
    }
}

struct Judgement {
    const char* what;
    std::string program;              // Program1 (the entry is otherwise complete)
    std::function<void()> arrange;    // what else the machine holds
    std::string line;                 // a whole line of the report, or its start when `prefix`
    int32_t exitCode;
    bool prefix = false;
};

// What Windows really starts, for entries of every kind, as the report says it.
TEST_F(CheckerTest, JudgesWhatWindowsWillStart) {
    const std::string refused = "Windows does not start it as a program (error 193, ERROR_BAD_EXE_FORMAT)";
    const std::string elevated = "Windows refuses to start it from Postpone, which runs with your ordinary rights "
                                 "(error 740, ERROR_ELEVATION_REQUIRED): start it from the Task Scheduler instead";
    const auto file = [](const std::string& path, const std::string& start) { Fake.files[path].start = start; };
    const std::vector<Judgement> rows = {
        {"shortcut", "C:\\Apps\\App.lnk",
         [&] {
             file("C:\\Apps\\App.lnk", std::string("L\0\0\0", 4));
             Fake.shellLinks["C:\\Apps\\App.lnk"] = {"C:\\Program Files\\App\\app.exe", "-min", "C:\\Program Files\\App"};
         },
         "warning: entry 1: Program1: C:\\Apps\\App.lnk is a shortcut: " + refused +
             "; write Program1=C:\\Program Files\\App\\app.exe and CmdLine1=-min, and StartIn1=C:\\Program Files\\App", 2},
        {"web link", "C:\\Apps\\news.url", [&] { file("C:\\Apps\\news.url", "[InternetShortcut]"); },
         "warning: entry 1: Program1: C:\\Apps\\news.url is a web link: " + refused +
             "; to open it in the browser, write Program1=%windir%\\explorer.exe and CmdLine1=\"\"C:\\Apps\\news.url\"\"", 2},
        {"document", "C:\\Apps\\notes.txt", [&] { file("C:\\Apps\\notes.txt", "hello"); },
         "warning: entry 1: Program1: C:\\Apps\\notes.txt is a document, not a program", 2, true},
        {"PowerShell script", "C:\\Apps\\s.ps1", [&] { file("C:\\Apps\\s.ps1", "Write-Host"); },
         "warning: entry 1: Program1: C:\\Apps\\s.ps1 is a PowerShell script: " + refused +
             "; write Program1=powershell.exe and CmdLine1=-ExecutionPolicy Bypass -File \"C:\\Apps\\s.ps1\"", 2},
        {"batch file", "C:\\Apps\\go.bat", [&] { file("C:\\Apps\\go.bat", "@echo off"); },
         "note: entry 1: Program1: C:\\Apps\\go.bat is a batch file: Windows runs it through cmd.exe, in a console "
         "window in the entry's show state", 0},
        {"unreadable: nothing said of its kind", kProgram, [&] { Fake.files[kProgram].readable = false; },
         "    command: C:\\Apps\\a.exe -x", 0},
        {"library", kProgram, [&] { file(kProgram, PeImage(0x14C, 0x2102)); },
         "warning: entry 1: Program1: C:\\Apps\\a.exe is a library (DLL), not a program: " + refused, 2},
        {"requireAdministrator", kProgram,
         [&] { Fake.manifests[kProgram] = "<requestedExecutionLevel level=\"requireAdministrator\"/>"; },
         "warning: entry 1: Program1: C:\\Apps\\a.exe asks for administrator rights in its manifest "
         "(requireAdministrator): " + elevated, 2, true},
        {"highestAvailable", kProgram,
         [&] { Fake.manifests[kProgram] = "<requestedExecutionLevel level=\"highestAvailable\"/>"; },
         "warning: entry 1: Program1: C:\\Apps\\a.exe asks for the highest rights the user has (highestAvailable): "
         "when you log on with an administrator account", 1, true},
        {"installer detection", "C:\\Apps\\setup.exe", [&] { file("C:\\Apps\\setup.exe", PeImage()); },
         "warning: entry 1: Program1: C:\\Apps\\setup.exe is a 32-bit program without a requested execution level "
         "whose name looks like an installer's: where installer detection is on (the default outside a domain): " +
             std::string("Windows refuses to start it from Postpone, which runs with your ordinary rights (error 740, "
                         "ERROR_ELEVATION_REQUIRED); rename it, or start it from the Task Scheduler instead, at logon, "
                         "with \"Run with highest privileges\""), 2},
        {"64-bit setup is not detected", "C:\\Apps\\setup.exe", [&] { file("C:\\Apps\\setup.exe", PeImage(0x8664)); },
         "    command: C:\\Apps\\setup.exe -x", 0},
        {"run as administrator", kProgram,
         [&] {
             Fake.registry[FakeRegistryKey(OsRegistryRoot::LocalMachine, OsRegistryView::Bits64,
                                           "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers")] =
                 {OsRegistryValue{"c:\\apps\\A.EXE", kRegistryText, "RUNASADMIN WIN8RTM"}};
         },
         "warning: entry 1: Program1: C:\\Apps\\a.exe is marked \"Run this program as an administrator\"", 2, true},
        {"run as administrator, another spelling", kProgram,
         [&] {
             Fake.sameFiles["C:\\APPS~1\\..\\Apps\\a.exe"] = kProgram;
             Fake.registry[FakeRegistryKey(OsRegistryRoot::CurrentUser, OsRegistryView::Bits32,
                                           "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers")] =
                 {OsRegistryValue{"C:\\APPS~1\\..\\Apps\\a.exe", kRegistryText, "RUNASADMIN"}};
         },
         "warning: entry 1: Program1: C:\\Apps\\a.exe is marked \"Run this program as an administrator\"", 2, true},
        {"compatibility settings that cannot all be read", kProgram,
         [&] {
             const std::string layers = FakeRegistryKey(OsRegistryRoot::LocalMachine, OsRegistryView::Bits64,
                                                        "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers");
             Fake.registry[layers] = {};
             Fake.unreadableKeys.insert(layers);
         },
         "warning: entry 1: Program1: the compatibility settings (AppCompatFlags\\Layers) could not all be read: whether "
         "C:\\Apps\\a.exe is marked \"Run this program as an administrator\" is not known", 1},
        {"run with the highest rights: only for an administrator", kProgram,
         [&] {
             Fake.registry[FakeRegistryKey(OsRegistryRoot::LocalMachine, OsRegistryView::Bits32,
                                           "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers")] =
                 {OsRegistryValue{kProgram, kRegistryText, "~ RUNASHIGHEST"}};
         },
         "entry 1: starts after 30 s, normal, program C:\\Apps\\a.exe, arguments -x", 1},
        {"uiAccess", kProgram,
         [&] { Fake.manifests[kProgram] = "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"true\"/>"; },
         "warning: entry 1: Program1: C:\\Apps\\a.exe asks for UI access in its manifest", 2, true},
        {"a full path without extension is not tried as written", "C:\\Apps\\tool",
         [&] { file("C:\\Apps\\tool", PeImage()); },
         "warning: entry 1: Program1: C:\\Apps\\tool has no extension: Windows looks for C:\\Apps\\tool.exe, which does "
         "not exist, and not for C:\\Apps\\tool: the start would fail without a word", 2},
        {"a shortcut to no file", "C:\\Apps\\Store.lnk",
         [&] {
             file("C:\\Apps\\Store.lnk", std::string("L\0\0\0", 4));
             Fake.shellLinks["C:\\Apps\\Store.lnk"] = {"", "", ""};
         },
         "warning: entry 1: Program1: C:\\Apps\\Store.lnk is a shortcut to something that is no file", 2, true},
        {"a shortcut to a 64-bit program, read raw under WOW64", "C:\\Apps\\App.lnk",
         [&] {
             Fake.wow64 = true;
             file("C:\\Apps\\App.lnk", std::string("L\0\0\0", 4));
             Fake.shellLinks["C:\\Apps\\App.lnk"] = {"%ProgramFiles%\\App\\app.exe", "\"C:\\My Files\\a.txt\"", ""};
         },
         "warning: entry 1: Program1: C:\\Apps\\App.lnk is a shortcut: " + refused +
             "; write Program1=%ProgramW6432%\\App\\app.exe and CmdLine1=\"\"C:\\My Files\\a.txt\"\"", 2},
        {"other layers", kProgram,
         [&] {
             Fake.registry[FakeRegistryKey(OsRegistryRoot::CurrentUser, OsRegistryView::Bits32,
                                           "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers")] =
                 {OsRegistryValue{kProgram, kRegistryText, "~ NORUNASADMIN RUNASADMINX"}};
         },
         "    command: C:\\Apps\\a.exe -x", 0},
        {"dot path from the Start in", ".\\Sub\\b.exe", [&] { file("C:\\Tools\\Sub\\b.exe", PeImage()); },
         "    command: .\\Sub\\b.exe -x", 0},
        {"dot path from another Start in", ".\\Sub\\b.exe",
         [&] {
             file("C:\\Tools\\Sub\\b.exe", PeImage());
             Fake.shellLinks[kShortcut].folder = "D:\\Other";
         },
         "warning: entry 1: Program1: D:\\Other\\Sub\\b.exe does not exist: the start would fail without a word (a path "
         "that starts with .\\ or ..\\ is taken from Postpone's working folder, D:\\Other, the Start in of what starts "
         "it; not from Postpone's folder: give the full path)", 2},
        {"root of the working folder's drive", "\\Apps\\a.exe", nullptr, "    command: \\Apps\\a.exe -x", 0},
        {"dot-dot path", "..\\b.exe",
         [&] {
             file("C:\\Tools\\b.exe", PeImage());
             Fake.shellLinks[kShortcut].folder = "C:\\Tools\\Sub";
         },
         "    command: ..\\b.exe -x", 0},
        {"a delay with a plus", kProgram, [&] { SetProfileValue(kSettings, "DelaySec1", "+30"); },
         "    command: C:\\Apps\\a.exe -x", 0},
        {"a negative delay", kProgram, [&] { SetProfileValue(kSettings, "DelaySec1", "-5"); },
         "entry 1: starts at once, normal, program C:\\Apps\\a.exe, arguments -x", 0},
        {"relative path under the system folder", "WindowsPowerShell\\v1.0\\powershell.exe",
         [&] { file("C:\\Windows\\system32\\WindowsPowerShell\\v1.0\\powershell.exe", PeImage(0x8664)); },
         "    command: WindowsPowerShell\\v1.0\\powershell.exe -x", 0},
        {"64-bit Program Files", "%ProgramFiles%\\Big\\big.exe",
         [&] {
             Fake.wow64 = true;
             Fake.environment["PROGRAMFILES"] = "C:\\Program Files (x86)";
             Fake.environment["PROGRAMW6432"] = "C:\\Program Files";
             file("C:\\Program Files\\Big\\big.exe", PeImage(0x8664));
         },
         "warning: entry 1: Program1: C:\\Program Files (x86)\\Big\\big.exe does not exist: the start would fail without "
         "a word (Postpone is a 32-bit program: Windows shows it C:\\Program Files (x86) as the 32-bit folder, and the "
         "64-bit program is at C:\\Program Files\\Big\\big.exe: write %ProgramW6432%\\Big\\big.exe)", 2},
        {"64-bit System32", "C:\\Windows\\System32\\tool64.exe",
         [&] {
             Fake.wow64 = true;
             file("C:\\Windows\\Sysnative\\tool64.exe", PeImage(0x8664));
         },
         "warning: entry 1: Program1: C:\\Windows\\System32\\tool64.exe does not exist", 2, true},
        {"a script under WOW64 gets the 64-bit host", "C:\\My Scripts\\a.vbs",
         [&] {
             Fake.wow64 = true;
             file("C:\\My Scripts\\a.vbs", "WScript.Echo 1");
         },
         "warning: entry 1: Program1: C:\\My Scripts\\a.vbs is a script: " + refused +
             "; write Program1=%windir%\\Sysnative\\wscript.exe and CmdLine1=\"\"C:\\My Scripts\\a.vbs\"\"", 2},
        {"a batch file under WOW64", "C:\\Apps\\b.cmd",
         [&] {
             Fake.wow64 = true;
             file("C:\\Apps\\b.cmd", "@echo off");
         },
         "note: entry 1: Program1: C:\\Apps\\b.cmd is a batch file: Windows runs it through cmd.exe, in a console window "
         "in the entry's show state; from 32-bit Postpone that is the 32-bit cmd.exe of SysWOW64, for which System32 and "
         "%ProgramFiles% are the 32-bit folders: for the 64-bit one, write Program1=%windir%\\Sysnative\\cmd.exe and "
         "CmdLine1=/c \"C:\\Apps\\b.cmd\"", 0},
        {"found by Win+R through App Paths alone", "excel",
         [&] {
             Fake.registry[FakeRegistryKey(OsRegistryRoot::LocalMachine, OsRegistryView::Bits32,
                                           "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\excel.exe")] =
                 {OsRegistryValue{"Path", kRegistryText, "C:\\Office"},
                  OsRegistryValue{"", kRegistryText, "\"C:\\Office\\EXCEL.EXE\""}};
         },
         "warning: entry 1: Program1: excel is not in Postpone's folder, its working folder C:\\Tools, the Windows "
         "folders or PATH: the start would fail without a word (Win+R finds it through App Paths, which Windows' program "
         "search does not use: write its full path, C:\\Office\\EXCEL.EXE)", 2},
        {"App Paths of the user, unquoted", "word",
         [&] {
             Fake.registry[FakeRegistryKey(OsRegistryRoot::CurrentUser, OsRegistryView::Bits64,
                                           "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\word.exe")] =
                 {OsRegistryValue{"", kRegistryText, "C:\\Office\\word.exe"}};
         },
         "warning: entry 1: Program1: word is not in Postpone's folder, its working folder C:\\Tools, the Windows "
         "folders or PATH: the start would fail without a word (Win+R finds it through App Paths, which Windows' program "
         "search does not use: write its full path, C:\\Office\\word.exe)", 2},
        {"a Store placeholder alias", "python",
         [&] {
             Fake.environment["LOCALAPPDATA"] = "C:\\Users\\me\\AppData\\Local";
             Fake.environment["PATH"] = "C:\\Users\\me\\AppData\\Local\\Microsoft\\WindowsApps";
             // Windows puts it in the user's Path.
             Fake.registry[FakeRegistryKey(OsRegistryRoot::CurrentUser, OsRegistryView::Bits64, "Environment")] = {
                 OsRegistryValue{"Path", kRegistryExpandedText, "%LOCALAPPDATA%\\Microsoft\\WindowsApps"}};
             Fake.files["C:\\Users\\me\\AppData\\Local\\Microsoft\\WindowsApps\\python.exe"].readable = false;
         },
         "note: entry 1: Program1: C:\\Users\\me\\AppData\\Local\\Microsoft\\WindowsApps\\python.exe is an app "
         "execution alias: Windows starts the app it stands for; where Python is not installed from the Store, this alias "
         "opens the Store instead: write the full path of python.exe (or pythonw.exe, without a console window)", 0},
        {"a 64-bit-only tool by its bare name", "ssh",
         [&] {
             Fake.wow64 = true;
             Fake.environment["WINDIR"] = "C:\\Windows";
             file("C:\\Windows\\Sysnative\\OpenSSH\\ssh.exe", PeImage(0x8664));
         },
         "warning: entry 1: Program1: ssh is not in Postpone's folder, its working folder C:\\Tools, the Windows "
         "folders or PATH: the start would fail without a word (Postpone is a 32-bit program: Windows shows it System32 "
         "as the 32-bit folder, which has no ssh.exe; the 64-bit one is at C:\\Windows\\Sysnative\\OpenSSH\\ssh.exe: "
         "write %windir%\\Sysnative\\OpenSSH\\ssh.exe)", 2},
        {"saved as UTF-8", kProgram, [&] { SetProfileValue(kSettings, "CmdLine1", "C:\\Caf\xC3\xA9"); },
         "warning: the settings file was saved as UTF-8, and Windows reads it in the ANSI code page: "
         "CmdLine1=C:\\Caf\xC3\xA9 reaches Postpone as shown here", 1, true},
        {"control characters", kProgram, [&] { SetProfileValue(kSettings, "CmdLine1", "a\x1B[2Jb"); },
         "entry 1: starts after 30 s, normal, program C:\\Apps\\a.exe, arguments a<0x1B>[2Jb", 0},
        {"a folder to start in", kProgram,
         [&] {
             Fake.files["C:\\My Work"].folder = true;
             SetProfileValue(kSettings, "StartIn1", "C:\\My Work");
         },
         "    copy: C:\\Tools\\Postpone.exe /E /P:C:\\Apps\\a.exe \"/C:-x\" /D:30 /S:1 \"/W:C:\\My Work\" /T:<second of the day>", 0},
        {"a folder that is not there", kProgram, [&] { SetProfileValue(kSettings, "StartIn1", "C:\\Nowhere"); },
         "warning: entry 1: StartIn1: C:\\Nowhere is no folder that exists: the program never starts, without a word "
         "(Windows answers error 267, ERROR_DIRECTORY)", 2},
        {"a relative folder", kProgram,
         [&] {
             Fake.files["C:\\Tools\\work"].folder = true;
             SetProfileValue(kSettings, "StartIn1", "work");
         },
         "warning: entry 1: StartIn1: work is relative: Windows takes it from Postpone's working folder, C:\\Tools, where "
         "it is C:\\Tools\\work; give the full path", 1},
        {"a dot path is not found from StartIn", ".\\b.exe",
         [&] {
             file("C:\\Tools\\b.exe", PeImage());
             Fake.files["C:\\Work"].folder = true;
             SetProfileValue(kSettings, "StartIn1", "C:\\Work");
         },
         "note: entry 1: Program1: .\\b.exe is found from Postpone's working folder, C:\\Tools, not from StartIn1", 0},
    };
    for (const Judgement& row : rows) {
        ResetFake();
        ResetGlobals();
        SetUp();
        Set(With(Complete(), "Program1", row.program));
        if (row.arrange) row.arrange();
        EXPECT_EQ(Check(), row.exitCode) << row.what << "\n" << text;
        EXPECT_TRUE(row.prefix ? HasPart("\r\n" + row.line) : Has(row.line)) << row.what << "\n" << text;
    }
}

TEST_F(CheckerTest, FindsWhatStartsPostponeAtLogon) {
    Set(Complete());
    Set({{"Program2", ".\\b.exe"}, {"CmdLine2", "\"\""}, {"DelaySec2", "5"}, {"WndStyle2", "1"}});
    Set({{"Program3", "C:\\Apps\\gone.exe"}, {"CmdLine3", "x"}, {"DelaySec3", "5"}, {"WndStyle3", "1"}});
    Set({{"Program4", "gone.exe"}, {"CmdLine4", "x"}, {"DelaySec4", "5"}, {"WndStyle4", "1"}});
    Fake.files["C:\\Tools\\b.exe"].start = PeImage();
    // A Run value of the 32-bit view that names Postpone.exe in other capitals.
    Fake.sameFiles["C:\\TOOLS\\POSTPONE.EXE"] = kExe;
    const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    Fake.registry[FakeRegistryKey(OsRegistryRoot::LocalMachine, OsRegistryView::Bits32, run)] = {
        OsRegistryValue{"Postpone", kRegistryText, "\"C:\\TOOLS\\POSTPONE.EXE\""},
        OsRegistryValue{"Other", kRegistryText, "C:\\Apps\\a.exe"}};
    EXPECT_EQ(Check(), 1);
    EXPECT_TRUE(Has("started at logon by: " + kShortcut + ", Start in C:\\Tools")) << text;
    EXPECT_TRUE(Has("started at logon by: the value Postpone of HKLM\\Software\\WOW6432Node\\Microsoft\\Windows\\"
                    "CurrentVersion\\Run (\"C:\\TOOLS\\POSTPONE.EXE\"), Start in C:\\Windows\\system32 (none given: "
                    "Explorer's own folder, assumed)")) << text;
    // The other value starts something else: listed as that, numbered.
    EXPECT_FALSE(HasPart("started at logon by: the value Other")) << text;
    EXPECT_TRUE(Has("  1: the value Other of HKLM\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run: "
                    "C:\\Apps\\a.exe, no Start in, normal")) << text;
    // A full path is judged once, whatever starts Postpone.
    EXPECT_TRUE(Has("warning: entry 3: Program3: C:\\Apps\\gone.exe does not exist: the start would fail without a "
                    "word")) << text;
    // Entry 2 is judged under each: found from one Start in, not the other.
    EXPECT_TRUE(HasPart("warning: entry 2: Program2: when the value Postpone of HKLM\\Software\\WOW6432Node\\Microsoft\\"
                        "Windows\\CurrentVersion\\Run (\"C:\\TOOLS\\POSTPONE.EXE\") starts Postpone: "
                        "C:\\Windows\\system32\\b.exe does not exist")) << text;
    // A bare name is searched from each working folder: said for each.
    EXPECT_TRUE(HasPart("warning: entry 4: Program4: when " + kShortcut + " starts Postpone: gone.exe is not in")) << text;
    EXPECT_FALSE(HasPart("warning: entry 1")) << text;

    // Switched off in Task Manager: it does not count, and then nothing starts Postpone.
    Fake.registry[FakeRegistryKey(OsRegistryRoot::LocalMachine, OsRegistryView::Bits64,
                                  "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run32")] =
        {OsRegistryValue{"Postpone", kRegistryBinary, std::string("\x03\0\0\0", 4)}};
    EXPECT_EQ(Check(), 1);
    EXPECT_TRUE(HasPart("warning: started at logon by the value Postpone of HKLM\\Software\\WOW6432Node")) << text;
    Fake.registry.clear();
    Fake.registry[FakeRegistryKey(OsRegistryRoot::CurrentUser, OsRegistryView::Bits64,
                                  "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder")] =
        {OsRegistryValue{"Postpone.lnk", kRegistryBinary, std::string("\x03\0\0\0", 4)}};
    EXPECT_EQ(Check(), 1);
    EXPECT_TRUE(HasPart("warning: started at logon by " + kShortcut + " no more: it is switched off in Task Manager's "
                        "Startup tab")) << text;
    EXPECT_TRUE(HasPart("warning: nothing found starts C:\\Tools\\Postpone.exe at logon: put a shortcut to it in your "
                        "Startup folder, " + Fake.userStartup)) << text;
    EXPECT_TRUE(Has("note: entries are judged as if Postpone started in its own folder, C:\\Tools (the Start in of the "
                    "README's shortcut)")) << text;

    // Postpone.exe itself in the Startup folder: it starts, and so does its settings file, in Notepad.
    Fake.registry.clear();
    Fake.files.erase(kShortcut);
    const std::string itself = Fake.userStartup + "\\Postpone.exe";
    Fake.sameFiles[itself] = kExe;
    Fake.files[itself];
    EXPECT_EQ(Check(), 1);
    EXPECT_TRUE(Has("started at logon by: " + itself + ", Start in " + Fake.userStartup)) << text;
    EXPECT_TRUE(HasPart("warning: Postpone.exe lies in the Startup folder itself, and Explorer opens every file there at "
                        "logon: c:\\tools\\postpone.ini opens in Notepad")) << text;
}

// What only 64-bit Windows and a raw shortcut show, and starters that cannot
// be read.
TEST_F(CheckerTest, FindsStartersAsWindowsStartsThem) {
    Set(Complete());
    const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::string programFiles = "C:\\Program Files\\Postpone\\Postpone.exe";
    Fake.sameFiles[programFiles] = kExe;
    Fake.files[programFiles];
    Fake.wow64 = true;
    Fake.environment["PROGRAMFILES"] = "C:\\Program Files (x86)";
    Fake.environment["PROGRAMW6432"] = "C:\\Program Files";
    // Windows would hand a 32-bit caller C:\Program Files (x86)\... unless the
    // path is read raw; Explorer, 64-bit, means C:\Program Files by it.
    Fake.shellLinks[kShortcut] = OsShellLink{"%ProgramFiles%\\Postpone\\Postpone.exe", "", "%ProgramFiles%\\Postpone"};
    // An unquoted path with blanks: Windows tries it piece by piece.
    Fake.registry[FakeRegistryKey(OsRegistryRoot::CurrentUser, OsRegistryView::Bits64, run)] = {
        OsRegistryValue{"Unquoted", kRegistryText, programFiles + " /x"},
        OsRegistryValue{"Expanded", kRegistryExpandedText, "\"%ProgramFiles%\\Postpone\\Postpone.exe\""}};
    // A key whose values could not all be read, and a shortcut that is none.
    Fake.registry[FakeRegistryKey(OsRegistryRoot::LocalMachine, OsRegistryView::Bits32, run)] = {};
    Fake.unreadableKeys.insert(FakeRegistryKey(OsRegistryRoot::LocalMachine, OsRegistryView::Bits32, run));
    Fake.files[Fake.userStartup + "\\Broken.lnk"];
    Fake.files[Fake.commonStartup].folder = true;
    Fake.unlistableFolders.insert(Fake.commonStartup);
    const std::string approved = FakeRegistryKey(OsRegistryRoot::CurrentUser, OsRegistryView::Bits64,
                                                 "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run");
    Fake.registry[approved] = {};
    Fake.unreadableKeys.insert(approved);
    EXPECT_EQ(Check(), 1);
    EXPECT_TRUE(Has("warning: " + Fake.commonStartup + ": the Startup folder could not be listed to the end: whether it "
                    "starts Postpone at logon is not known")) << text;
    EXPECT_TRUE(Has("warning: whether the value Unquoted of HKCU\\" + run + " (" + programFiles + " /x) is switched off "
                    "in Task Manager's Startup tab could not be read: it is taken as switched on")) << text;
    EXPECT_TRUE(Has("started at logon by: " + kShortcut + ", Start in C:\\Program Files\\Postpone")) << text;
    EXPECT_TRUE(Has("started at logon by: the value Unquoted of HKCU\\" + run + " (" + programFiles +
                    " /x), Start in C:\\Windows\\system32 (none given: Explorer's own folder, assumed)")) << text;
    EXPECT_TRUE(HasPart("started at logon by: the value Expanded of HKCU\\" + run + " (\"" + programFiles + "\")")) << text;
    EXPECT_TRUE(Has("warning: HKLM\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run: its values could "
                    "not all be read: whether it starts Postpone at logon is not known")) << text;
    EXPECT_TRUE(Has("warning: " + Fake.userStartup + "\\Broken.lnk: it cannot be read as a shortcut: whether it starts "
                    "Postpone at logon is not known")) << text;

    // On 32-bit Windows, HKLM's Run key is one: a value is listed once.
    Fake = FakePlatform();
    SetUp();
    Set(Complete());
    Fake.twoRegistryViews = false;
    for (OsRegistryView view : {OsRegistryView::Bits64, OsRegistryView::Bits32}) {
        Fake.registry[FakeRegistryKey(OsRegistryRoot::LocalMachine, view, run)] = {
            OsRegistryValue{"Postpone", kRegistryText, kExe}};
    }
    Check();
    EXPECT_TRUE(HasPart("the value Postpone of HKLM\\Software\\Microsoft")) << text;
    EXPECT_FALSE(HasPart("WOW6432Node")) << text;
}

// On a file mixing entries that start, fail and are skipped, each is counted
// apart; with none that starts, the exit code is 2.
TEST_F(CheckerTest, SaysOnceThatAnElevatedCheckerSeesOtherDriveMappings) {
    Set(Complete());
    Set({{"Program2", kProgram}, {"CmdLine2", "y"}, {"DelaySec2", "1"}, {"WndStyle2", "1"}});
    const std::string note = "note: postpone-check runs as administrator: the mapped network drives it sees are not "
                             "the ones your logon gives Postpone; run it without elevation for those\r\n";
    EXPECT_EQ(Check(), 0);
    EXPECT_FALSE(HasPart(note)) << text;
    Fake.elevated = true;
    EXPECT_EQ(Check(), 0);
    EXPECT_EQ(text.find(note), text.rfind(note)) << text;
    EXPECT_TRUE(HasPart(note)) << text;
}

struct ConsoleCase {
    const char* what;
    std::string program;
    std::string line;  // "" when nothing is said
    int32_t exitCode;
};

// Entries are judged in the environment a logon gives Postpone; where this
// console's own gives another result, that is said.
TEST_F(CheckerTest, JudgesInTheLogonEnvironmentAndSaysWhereTheConsoleDiffers) {
    const std::vector<ConsoleCase> cases = {
        {"a variable the registry gives", "%APPS%\\a.exe", "", 0},
        {"a variable set in the console alone", "%MYTOOLS%\\a.exe",
         "warning: entry 1: Program1: %MYTOOLS%\\a.exe is %MYTOOLS%\\a.exe at logon, but C:\\Apps\\a.exe in this "
         "console, whose environment is not the one a logon gives Postpone", 2},
        {"a variable the console changed", "%DATA%\\a.exe",
         "warning: entry 1: Program1: %DATA%\\a.exe is C:\\Apps\\a.exe at logon, but D:\\Conda\\a.exe in this "
         "console, whose environment is not the one a logon gives Postpone", 1},
        {"found through the console's PATH alone", "conda-tool",
         "warning: entry 1: Program1: conda-tool is found only through this console's PATH, as "
         "D:\\Conda\\conda-tool.exe: a logon does not give Postpone that PATH; write the full path", 2},
        {"found through the user's Path", "user-tool", "", 0},
        // The system key's USERNAME=SYSTEM and PROCESSOR_ARCHITECTURE=AMD64
        // do not reach a 32-bit program of the user's logon.
        {"the user's own folder", "C:\\Users\\%USERNAME%\\a.exe", "", 0},
        {"the 32-bit view", "C:\\%PROCESSOR_ARCHITECTURE%\\a.exe", "", 0},
    };
    for (const ConsoleCase& c : cases) {
        ResetFake();
        ResetGlobals();
        SetUp();
        Set(With(Complete(), "Program1", c.program));
        Fake.files["D:\\Conda\\conda-tool.exe"].start = PeImage();
        Fake.files["C:\\Users\\me\\bin\\user-tool.exe"].start = PeImage();
        Fake.environment["APPS"] = "C:\\Apps";  // as the registry gives it
        Fake.environment["MYTOOLS"] = "C:\\Apps";
        Fake.environment["DATA"] = "D:\\Conda";
        Fake.environment["PATH"] = "D:\\Conda;C:\\Windows\\system32;C:\\Users\\me\\bin";
        Fake.environment["USERPROFILE"] = "C:\\Users\\me";
        Fake.environment["USERNAME"] = "me";
        Fake.environment["PROCESSOR_ARCHITECTURE"] = "x86";
        Fake.files["C:\\Users\\me\\a.exe"].start = PeImage();
        Fake.files["C:\\x86\\a.exe"].start = PeImage();
        auto& system = Fake.registry[FakeRegistryKey(OsRegistryRoot::LocalMachine, OsRegistryView::Bits64,
                                                     "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment")];
        system.push_back(OsRegistryValue{"Path", kRegistryExpandedText, "%SystemRoot%\\system32"});
        system.push_back(OsRegistryValue{"APPS", kRegistryText, "C:\\Apps"});
        Fake.registry[FakeRegistryKey(OsRegistryRoot::CurrentUser, OsRegistryView::Bits64, "Environment")] = {
            OsRegistryValue{"Path", kRegistryExpandedText, "%USERPROFILE%\\bin"},
            OsRegistryValue{"DATA", kRegistryExpandedText, "%APPS%"}};
        EXPECT_EQ(Check(), c.exitCode) << c.what << "\n" << text;
        if (c.line.empty()) {
            EXPECT_FALSE(HasPart("console")) << c.what << "\n" << text;
        } else {
            EXPECT_TRUE(Has(c.line)) << c.what << "\n" << text;
        }
        EXPECT_EQ(Fake.environment["PATH"], "D:\\Conda;C:\\Windows\\system32;C:\\Users\\me\\bin") << c.what;
    }
}

TEST_F(CheckerTest, CountsEntriesThatStartFailAndAreSkippedApart) {
    Set(Complete());
    Set({{"Program2", "C:\\Apps\\gone.exe"}, {"CmdLine2", "x"}, {"DelaySec2", "1"}, {"WndStyle2", "1"}});
    Set({{"Program3", kProgram}, {"DelaySec3", "1"}});
    EXPECT_EQ(Check(), 1);
    EXPECT_TRUE(Has("entry 2: fails to start after 1 s, normal, program C:\\Apps\\gone.exe, arguments x")) << text;
    EXPECT_TRUE(Has("summary: 1 entry starts, 1 fails, 1 skipped, 1 warning")) << text;
    SetProfileValue(kSettings, "Program1", "C:\\Apps\\gone.exe");
    EXPECT_EQ(Check(), 2);
    EXPECT_TRUE(Has("summary: 0 entries start, 2 fail, 1 skipped, 2 warnings")) << text;
}

TEST_F(CheckerTest, KeysInAnyCaseBelongToTheirEntryAndEntriesWithoutKeysAreNotListed) {
    Set({{"Junk", "1"}});
    EXPECT_EQ(Check(), 2);
    EXPECT_TRUE(Has("[Launch] holds no entry: nothing starts")) << text;
    for (const char* n : {"9", "19", "100"}) {
        Set({{std::string("program") + n, kProgram}, {std::string("CMDLINE") + n, "x"}, {std::string("delaysec") + n, "0"},
             {std::string("wndstyle") + n, "5"}});
    }
    EXPECT_EQ(Check(), 1) << text;  // the junk key
    for (const char* n : {"9", "19", "100"}) {
        EXPECT_TRUE(Has(std::string("entry ") + n + ": starts at once, shown, program C:\\Apps\\a.exe, arguments x")) << text;
    }
    EXPECT_FALSE(HasPart("entry 1:")) << text;
}

TEST_F(CheckerTest, ListsAtMostTwentyUnreadKeysAndCountsTheRest) {
    Set(Complete());
    for (int i = 0; i < 25; ++i) SetProfileValue(kSettings, "Junk" + std::to_string(i), "1");
    EXPECT_EQ(Check(), 1);
    EXPECT_TRUE(Has("warning: 5 more keys in [Launch] that Postpone never reads")) << text;
    EXPECT_TRUE(Has("summary: 1 entry starts, 0 fail, 0 skipped, 21 warnings")) << text;
}

TEST_F(CheckerTest, ReportsTheFileItself) {
    // No settings file: the exact path, and the name rule.
    EXPECT_EQ(Check(), 2);
    EXPECT_TRUE(Has("error: no settings file: c:\\tools\\postpone.ini does not exist")) << text;
    EXPECT_TRUE(Has("note: the settings file has the executable's name with .ini for .exe: Postpone.exe reads "
                    "postpone.ini")) << text;

    // Saved by Notepad "as text": Explorer shows it as postpone.ini.
    Fake.files["C:\\Tools\\postpone.ini.txt"];
    Fake.files["C:\\Tools\\postpone.txt"];
    EXPECT_EQ(Check(), 2);
    EXPECT_TRUE(HasPart("note: c:\\tools\\postpone.ini.txt is there: rename it to postpone.ini (Explorer hides the "
                        "extension of known file types")) << text;
    EXPECT_TRUE(HasPart("note: c:\\tools\\postpone.txt is there")) << text;
    EXPECT_FALSE(HasPart("Postpone.exe is there")) << text;  // the executable itself is no near name

    // A renamed download looks for another name; the usual file is pointed out.
    Fake.files["C:\\Tools\\Postpone (1).exe"];
    Set(Complete());
    EXPECT_EQ(Check("\"C:\\Tools\\Postpone (1).exe\""), 2);
    EXPECT_TRUE(Has("error: no settings file: c:\\tools\\postpone (1).ini does not exist")) << text;
    EXPECT_TRUE(HasPart("note: c:\\tools\\postpone.ini is there")) << text;

    Fake.files[kSettings].start = "\xEF\xBB\xBF; my programs\r\n[Launch]";  // after a comment the mark does no harm
    EXPECT_EQ(Check(), 0) << text;
    Fake.files[kSettings].start = "\xEF\xBB\xBF[Launch]";
    EXPECT_EQ(Check(), 1);
    EXPECT_TRUE(HasPart("warning: the settings file starts with a UTF-8 byte-order mark: Windows' settings reader then "
                        "misses its first section ([Launch])")) << text;

    Fake.files[kSettings].readable = false;
    EXPECT_EQ(Check(), 2);
    EXPECT_TRUE(Has("error: c:\\tools\\postpone.ini cannot be read")) << text;
}

TEST_F(CheckerTest, NamesTheSectionsThereAreWhenLaunchIsMissing) {
    SetProfileValueIn(kSettings, "Lauch", "Program1", kProgram);
    SetProfileValueIn(kSettings, "Other\x01", "", "");
    EXPECT_EQ(Check(), 2);
    EXPECT_TRUE(Has("error: there is no [Launch] section: its sections are [Lauch], [Other<0x01>]")) << text;
    EXPECT_TRUE(Has("summary: 0 entries start, 0 fail, 0 skipped, 0 warnings")) << text;
}

TEST_F(CheckerTest, PathIsASettingsFileAnExecutableOrAFolder) {
    const std::string other = "D:\\conf\\my.ini";
    SetProfileValue(other, "Program1", kProgram);
    EXPECT_EQ(Check(other), 2);  // nothing starts: no CmdLine1
    EXPECT_TRUE(Has("settings file: " + other)) << text;
    EXPECT_TRUE(Has("executable: D:\\conf\\my.exe")) << text;
    EXPECT_TRUE(HasPart("warning: there is no D:\\conf\\my.exe: no Postpone reads this settings file")) << text;

    Fake.files["C:\\Tools"].folder = true;
    Set(Complete());
    EXPECT_EQ(Check("C:\\Tools\\"), 0) << text;
    EXPECT_TRUE(Has("executable: " + kExe)) << text;

    Fake.files["C:\\Empty"].folder = true;
    EXPECT_EQ(Check("C:\\Empty"), 2);
    EXPECT_TRUE(HasPart("error: there is no Postpone.exe in C:\\Empty")) << text;

    EXPECT_EQ(Check("C:\\Nowhere\\x.ini"), 2);
    EXPECT_TRUE(Has("error: C:\\Nowhere\\x.ini does not exist")) << text;

    Fake.currentFolder = "C:\\Tools";  // a relative PATH starts from the current folder
    EXPECT_EQ(Check("Postpone.exe"), 0) << text;
    EXPECT_TRUE(Has("settings file: " + kSettings)) << text;
}

TEST_F(CheckerTest, UsageAndTooManyArguments) {
    for (const char* ask : {"/?", "-h", "--help"}) {
        EXPECT_EQ(Check(ask), 0);
        EXPECT_EQ(text, CheckUsage());
    }
    EXPECT_EQ(Check("a.ini b.ini"), 2);
    EXPECT_TRUE(HasPart("error: one PATH at the most")) << text;
    EXPECT_TRUE(Has("summary: 0 entries start, 0 fail, 0 skipped, 0 warnings")) << text;
}

TEST_F(CheckerTest, AConsoleOfItsOwnWaitsForAKeyAndALinkedCheckerLooksBesideItsRealFile) {
    Set(Complete());
    Fake.commandLine = "postpone-check";
    // winget's Links folder: the checker runs through a link there.
    Fake.moduleFileName = "C:\\Users\\me\\Links\\postpone-check.exe";
    Fake.sameFiles[Fake.moduleFileName] = kChecker;
    Fake.consoleIsItsOwn = true;
    EXPECT_EQ(RunChecker(), 0) << Fake.output;
    EXPECT_NE(Fake.output.find("executable: " + kExe + "\r\n"), std::string::npos) << Fake.output;
    EXPECT_EQ(Fake.output.substr(Fake.output.size() - 35), "Press a key to close this window.\r\n");
    EXPECT_EQ(Fake.keysWaitedFor, 1);

    Fake.output.clear();
    Fake.consoleIsItsOwn = false;  // a console the user opened, a pipe or a file
    RunChecker();
    EXPECT_EQ(Fake.output.find("Press a key"), std::string::npos);
    EXPECT_EQ(Fake.keysWaitedFor, 1);
}

TEST(CheckerWords, NameShowStatesAndDelays) {
    EXPECT_EQ(ShowStateName(0), "hidden");
    EXPECT_EQ(ShowStateName(2), "minimised");
    EXPECT_EQ(ShowStateName(6), "minimised without the focus");
    EXPECT_EQ(DelayText(-5), "at once");
    EXPECT_EQ(DelayText(0), "at once");
    EXPECT_EQ(DelayText(59), "after 59 s");
    EXPECT_EQ(DelayText(60), "after 60 s (1 min)");
    EXPECT_EQ(DelayText(3600), "after 3600 s (1 h)");
    EXPECT_EQ(DelayText(86400), "after 86400 s (1 d)");
    EXPECT_EQ(DelayText(90061), "after 90061 s (1 d 1 h 1 min 1 s)");
}

}  // namespace

namespace {

// Every value the checker tells a user to write, written into the file as
// shown, reaches Postpone as the intended text.
TEST_F(CheckerTest, AdviceWrittenAsShownGivesTheIntendedEntry) {
    const std::vector<std::pair<std::string, std::string>> intended = {
        {"C:\\Program Files\\App\\app.exe", ""},                               // a shortcut without arguments
        {"wscript.exe", "\"C:\\My Scripts\\a.vbs\""},                        // one quoted path with blanks
        {"powershell.exe", "-ExecutionPolicy Bypass -File \"C:\\My Scripts\\a.ps1\""},
        {"%windir%\\explorer.exe", "'C:\\x.url'"},
        {"app.exe", " -lead and trail\t"},
        {"\"C:\\Quoted\\app.exe\"", "\""},
    };
    for (const auto& entry : intended) {
        ResetFake();
        ResetGlobals();
        SetUp();
        SettingsPath = kSettings;
        // "write Program1=P and CmdLine1=C, and StartIn1=F": each value as the file gets it.
        const std::string advice = WriteEntry(1, entry.first, entry.second, "C:\\My Work ");
        const size_t program = advice.find("Program1=") + 9, arguments = advice.find(" and CmdLine1=");
        const size_t folder = advice.find(", and StartIn1=");
        SetProfileValue(kSettings, "Program1", DeliveredValue(advice.substr(program, arguments - program)));
        SetProfileValue(kSettings, "CmdLine1", DeliveredValue(advice.substr(arguments + 14, folder - arguments - 14)));
        SetProfileValue(kSettings, "StartIn1", DeliveredValue(advice.substr(folder + 15)));
        SetProfileValue(kSettings, "DelaySec1", "0");
        LaunchEntry read;
        ASSERT_EQ(ReadLaunchEntry(1, &read), EntryVerdict::Accepted) << advice;
        EXPECT_EQ(read.Program, entry.first) << advice;
        EXPECT_EQ(read.CmdLine, entry.second) << advice;
        EXPECT_EQ(read.StartIn, "C:\\My Work ") << advice;
    }
}

TEST_F(CheckerTest, ReadsWhatHappenedAtTheLastRunBackUnderEachEntryAndWarnsWhereItContradicts) {
    const std::string record = "c:\\tools\\logs\\p.log";
    Set(Complete());
    Set({{"LogFile", "logs\\p.log"}, {"Program2", "C:\\Apps\\gone.exe"}, {"CmdLine2", "\"\""}, {"DelaySec2", "0"},
         {"WndStyle2", "1"}, {"Program3", kProgram}, {"CmdLine3", "-z"}, {"DelaySec3", "0"}, {"WndStyle3", "1"},
         {"Program4", kProgram}, {"CmdLine4", "\"\""}, {"DelaySec4", "0"}, {"WndStyle4", "1"},
         {"WaitFor4", "C:\\Apps"}, {"WaitSec4", "600"}, {"Program5", "b.exe"}, {"Program6", kProgram},
         {"CmdLine6", "\"\""}, {"DelaySec6", "9"}, {"WndStyle6", "1"}});
    // An older run lies in the older file; the last one, its copies' lines
    // and a line that is not Postpone's in the record itself.
    Fake.files[record + ".1"].start =
        "2026-12-09 09:00:00\tlist\tread\taccepted 5\tskipped 5\tc:\\tools\\postpone.ini\r\n"
        "2026-12-09 09:00:31\tentry 1\tfailed\terror 2\tC:\\Apps\\a.exe -x\r\n";
    Fake.files[record].start =
        "2026-12-10 08:59:02\tlist\tread\taccepted 5\tskipped 5\tc:\\tools\\postpone.ini\r\n"
        "2026-12-10 08:59:02\tentry 2\tfailed\terror 2\tC:\\Apps\\gone.exe \r\n"
        "2026-12-10 08:59:03\tentry 3\tfailed\terror 740\tC:\\Apps\\a.exe -z\r\n"
        "edited by hand\r\n"
        "2026-12-10 08:59:33\tentry 1\tstarted\tpid 4312\tdelay 30 s\tlate 1 s\tC:\\Apps\\a.exe -x\r\n"
        "2026-12-10 08:59:34\tentry 0\tstarted\tpid 4316\tdelay 0 s\tlate 0 s\tnotepad.exe \r\n"  // typed by hand
        "2026-12-10 09:09:03\tentry 4\tnot started\twaited 600 s\tC:\\Apps\r\n";

    EXPECT_EQ(Check(), 1);
    const std::vector<std::string> lines = {
        "record: " + record,
        "last run 2026-12-10 08:59:02: 1 started, 2 failed, 1 not started, 1 skipped, 1 not recorded (a copy may "
        "still be waiting)",
        "    last run: started 2026-12-10 08:59:33, 1 s late, process 4312",
        "    last run: failed 2026-12-10 08:59:02, error 2, ERROR_FILE_NOT_FOUND: the program is not there",
        "    last run: failed 2026-12-10 08:59:03, error 740, ERROR_ELEVATION_REQUIRED: it needs administrator rights, "
        "which Postpone does not have",
        "warning: entry 3: postpone-check expects it to start, but at the last run, 2026-12-10 08:59:03, Windows "
        "refused it with error 740, ERROR_ELEVATION_REQUIRED (it needs administrator rights, which Postpone does not "
        "have): what Postpone met at logon differs from what this console sees (a drive or share not connected yet, "
        "a variable or PATH of this console alone, a program installed or a file changed since)",
        "    last run: not started 2026-12-10 09:09:03, C:\\Apps was not there within 600 s",
        "    last run: skipped",
        "    last run: the record has no line of it (added since, or its copy is still waiting)",
        "warning: 1 line of the record is not as Postpone writes them, and left out (the first, line 4 of " +
            record + ": edited by hand)",
    };
    for (const std::string& line : lines) EXPECT_TRUE(Has(line)) << line << "\n" << text;
    EXPECT_TRUE(HasPart("warning: entry 4: postpone-check expects it to start, but at the last run, 2026-12-10 "
                        "09:09:03, its path C:\\Apps was not there within 600 s:")) << text;
    // Entry 2 fails as predicted: nothing to set against it.
    EXPECT_FALSE(HasPart("warning: entry 2: postpone-check expects")) << text;
    EXPECT_FALSE(HasPart("key LogFile")) << text;
    // Each line follows its own entry's.
    EXPECT_LT(text.find("entry 3: starts"), text.find("error 740, ERROR_ELEVATION_REQUIRED: it needs"));
    EXPECT_LT(text.find("error 740, ERROR_ELEVATION_REQUIRED: it needs"), text.find("entry 4: starts"));
}

// Lines carry their run's tag: a late line of an earlier run, or a run of
// another machine on the same record, never counts in this machine's last
// run; what cannot be read before it is only a note.
TEST_F(CheckerTest, ReadsTheLastRunOfThisMachineByItsTag) {
    const std::string record = "c:\\tools\\logs\\p.log";
    Set(Complete());
    Set({{"LogFile", "logs\\p.log"}, {"Program2", kProgram}, {"CmdLine2", "-2"}, {"DelaySec2", "0"},
         {"Program3", kProgram}, {"CmdLine3", "-3"}, {"DelaySec3", "0"}, {"Program4", "C:\\Apps\\gone.exe"},
         {"CmdLine4", "\"\""}, {"DelaySec4", "0"}, {"Program6", kProgram}, {"CmdLine6", "-6"}, {"DelaySec6", "0"}});
    Fake.files[record + ".1"].readable = false;
    const std::string tail = "\tc:\\tools\\postpone.ini\r\n";
    Fake.files[record].start =
        "torn\r\n"
        "2026-12-10 08:00:00\trun aaaaaaaa\tlist\tread\taccepted 2\tentries 1 2\tskipped none\tmachine PC1" + tail +
        "2026-12-10 08:59:02\trun bbbbbbbb\tlist\tread\taccepted 4\tentries 1 2 3 4\tskipped 6\tmachine pc1" + tail +
        "2026-12-10 08:59:03\trun cccccccc\tlist\tread\taccepted 1\tentries 2\tskipped none\tmachine PC2" + tail +
        "2026-12-10 08:59:30\trun aaaaaaaa\tentry 2\tstarted\tpid 8\tdelay 3600 s\tlate 0 s\tC:\\Apps\\a.exe -2\r\n"
        "2026-12-10 08:59:31\trun cccccccc\tentry 2\tfailed\terror 5\tC:\\Apps\\a.exe -2\r\n"
        "2026-12-10 08:59:32\trun bbbbbbbb\tentry 1\tstarted\tpid 12\tdelay 30 s\tlate 0 s\twaited 0 s\tquiet after 12 s\tC:\\Apps\\a.exe -x\r\n"
        "2026-12-10 08:59:33\trun bbbbbbbb\tentry 3\tno process\tdelay 0 s\tlate 0 s\tC:\\Apps\\a.exe -3\r\n"
        "2026-12-10 08:59:34\trun bbbbbbbb\tentry 4\tstarted\tpid 16\tdelay 0 s\tlate 0 s\tC:\\Apps\\gone.exe \r\n";

    EXPECT_EQ(Check(), 1);
    const std::vector<std::string> lines = {
        "note: " + record + ".1, the record's older part, cannot be read: the runs before it was moved aside are left "
        "out",
        "note: 1 line of the record is not as Postpone writes them, and left out (the first, line 1 of " + record +
            ": torn), all before the last run",
        "last run 2026-12-10 08:59:02 on pc1: 3 started, 0 failed, 0 not started, 1 skipped, 1 not recorded (a copy "
        "may still be waiting)",
        "note: entry 6: the last run skipped it: the settings file has changed since",
        "    last run: started 2026-12-10 08:59:32, on time, after waiting 12 s for a quiet machine, process 12",
        "    last run: the record has no line of it (added since, or its copy is still waiting)",
        "    last run: asked for 2026-12-10 08:59:33, but Windows answered with neither a process nor an error: whether "
        "it started is not known",
        "warning: entry 4: postpone-check expects Windows to refuse it, but at the last run, 2026-12-10 08:59:34, it "
        "started: the program may have been removed or moved since, or this console lacks what the logon gave Postpone "
        "(a drive or share it had mapped, a variable of the logon)",
    };
    for (const std::string& line : lines) EXPECT_TRUE(Has(line)) << line << "\n" << text;
    EXPECT_FALSE(HasPart("error 5")) << text;
    EXPECT_FALSE(HasPart("process 8")) << text;

    Fake.files[record].readable = false;
    EXPECT_EQ(Check(), 1);
    EXPECT_TRUE(Has("warning: " + record + " cannot be read: what happened at the last run is not known")) << text;
}

}  // namespace
