// What else starts at logon, and postpone-check /add, through the double: the
// list as Windows runs each program, the entry written so that the reader
// gives back the command, the settings file's other bytes kept, the original
// switched off, and every refusal changing nothing.
#include <functional>
#include <string>
#include <vector>

#include "add_entry.h"
#include "checker_fixture.h"
#include "launch_list.h"
#include "logon_programs.h"
#include "mark_of_web.h"
#include "settings_writer.h"
#include "startup_switch.h"

namespace {

const std::string kMail = "C:\\Users\\me\\Start Menu\\Programs\\Startup\\Mail.lnk";
const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kApproved = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";
const std::string kOwnBytes = "; my programs\r\n[Launch]\r\nProgram1=C:\\Apps\\a.exe\r\nCmdLine1=-x\r\nDelaySec1=30\r\n"
                              "WndStyle1=1\r\n\r\n[Notes]\r\nkept=1\r\n";

struct WriterCase {
    const char* what;
    std::string before;
    std::string after;  // "" when it is refused
};

std::string Utf16(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) bytes += std::string{c, '\0'};
    return bytes;
}

TEST(SettingsWriter, AddsTheLinesAtTheEndOfTheFirstLaunchSectionAndKeepsEveryOtherByte) {
    const std::vector<WriterCase> cases = {
        {"comments and another section", "; mine\r\n[Launch]\r\nA=1\r\n\r\n[Other]\r\nx=1\r\n",
         "; mine\r\n[Launch]\r\nA=1\r\nL1\r\nL2\r\n\r\n[Other]\r\nx=1\r\n"},
        {"its own line ends", "[launch]\nA=1\n", "[launch]\nA=1\nL1\nL2\n"},
        {"a last line without its end", "[Launch]\r\nA=1", "[Launch]\r\nA=1\r\nL1\r\nL2\r\n"},
        {"no [Launch]", "[Other]\r\nx=1", "[Other]\r\nx=1\r\n[Launch]\r\nL1\r\nL2\r\n"},
        {"an empty file", "", "[Launch]\r\nL1\r\nL2\r\n"},
        {"the first of two, as the reader reads", "[Launch]\r\nA=1\r\n[ launch ]\r\nB=2\r\n",
         "[Launch]\r\nA=1\r\nL1\r\nL2\r\n[ launch ]\r\nB=2\r\n"},
        {"an empty [Launch]", "  [Launch]  \r\n\r\n[X]\r\n", "  [Launch]  \r\nL1\r\nL2\r\n\r\n[X]\r\n"},
        {"UTF-16 with its byte-order mark", Utf16("[Launch]\r\nA=1\r\n"), Utf16("[Launch]\r\nA=1\r\nL1\r\nL2\r\n")},
        {"a header in capitals, lines ended by CR alone", "[LAUNCH]\rA=1\r", "[LAUNCH]\rA=1\rL1\rL2\r"},
        {"an ANSI file that starts with an i with diaeresis", "\xEF=1\r\n", "\xEF=1\r\n[Launch]\r\nL1\r\nL2\r\n"},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF[Launch]\r\n", ""},
        {"the byte-order mark alone", "\xEF\xBB\xBF", ""},
        {"UTF-16 big-endian", "\xFE\xFF", ""},
    };
    for (const WriterCase& c : cases) {
        std::string after, why;
        const bool written = WithLinesInLaunch(c.before, {"L1", "L2"}, &after, &why);
        EXPECT_EQ(written, !c.after.empty()) << c.what;
        if (written) EXPECT_EQ(after, c.after) << c.what;
        if (!written) EXPECT_FALSE(why.empty()) << c.what;
    }
}

class AddTest : public CheckerTest {
protected:
    void SetUp() override {
        CheckerTest::SetUp();
        Set(Complete());
        Fake.files[kSettings].start = kOwnBytes;
        Fake.files["c:\\tools"].folder = true;
        // A minimised shortcut to a program under the 64-bit Program Files,
        // as 64-bit Explorer means its variables.
        Fake.wow64 = true;
        Fake.environment["PROGRAMFILES"] = "C:\\Program Files (x86)";
        Fake.environment["PROGRAMW6432"] = "C:\\Program Files";
        // Its header holds SW_SHOWMINNOACTIVE, which the shell-link interface
        // gives as SW_SHOWMINIMIZED on Windows and as SW_SHOWNORMAL under Wine.
        std::string header(0x4C, '\0');
        header[0] = 0x4C;
        header[0x3C] = 7;
        Fake.files[kMail].start = header;
        Fake.shellLinks[kMail] = OsShellLink{"%ProgramFiles%\\Mail\\mail.exe", "-background \"C:\\My Mail\"",
                                             "%ProgramFiles%\\Mail", 1};
        Fake.files["C:\\Program Files\\Mail\\mail.exe"].start = PeImage();
        Fake.files["C:\\Program Files\\Mail"].folder = true;
        // An unquoted Run value with a blank, one that needs administrator
        // rights, and one of HKLM.
        Fake.files["C:\\Program Files\\Sync\\sync.exe"].start = PeImage();
        Fake.files["C:\\Admin\\tool.exe"].start = PeImage();
        Fake.manifests["C:\\Admin\\tool.exe"] = "<requestedExecutionLevel level=\"requireAdministrator\"/>";
        Fake.registry[FakeRegistryKey(OsRegistryRoot::CurrentUser, OsRegistryView::Bits64, kRun)] = {
            OsRegistryValue{"Sync", kRegistryText, "C:\\Program Files\\Sync\\sync.exe -q"},
            OsRegistryValue{"Admin", kRegistryText, "\"C:\\Admin\\tool.exe\""}};
        Fake.registry[FakeRegistryKey(OsRegistryRoot::LocalMachine, OsRegistryView::Bits64, kRun)] = {
            OsRegistryValue{"Tray", kRegistryText, kProgram + " -tray"}};
    }
    // The profile reader of the double reads what the file now holds.
    static void ReadFileAgain() {
        Fake.profiles.erase(kSettings);
        std::string section;
        const std::string& bytes = Fake.files[kSettings].start;
        for (size_t start = 0; start < bytes.size();) {
            size_t end = bytes.find("\r\n", start);
            if (end == std::string::npos) end = bytes.size();
            const std::string line = bytes.substr(start, end - start);
            start = end + 2;
            if (!line.empty() && line[0] == '[') section = line.substr(1, line.find(']') - 1);
            const size_t equals = line.find('=');
            if (line.empty() || line[0] == ';' || line[0] == '[' || equals == std::string::npos) continue;
            SetProfileValueIn(kSettings, section, line.substr(0, equals), DeliveredValue(line.substr(equals + 1)));
        }
    }
    static std::string Switch(OsRegistryRoot root, const std::string& list, const std::string& name) {
        for (const OsRegistryValue& value : Fake.registry[FakeRegistryKey(root, OsRegistryView::Bits64, kApproved + list)]) {
            if (value.name == name) return value.data;
        }
        return std::string();
    }
};

TEST_F(AddTest, ListsWhatElseStartsAtLogonAndTakesEachOverWithItsExactCommand) {
    EXPECT_EQ(Check(), 0);
    EXPECT_TRUE(Has("  1: " + kMail + ": \"C:\\Program Files\\Mail\\mail.exe\" -background \"C:\\My Mail\", in "
                    "C:\\Program Files\\Mail, minimised without the focus")) << text;
    EXPECT_TRUE(Has("  2: the value Sync of HKCU\\" + kRun + ": \"C:\\Program Files\\Sync\\sync.exe\" -q, no Start in, "
                    "normal")) << text;
    EXPECT_TRUE(Has("  3: the value Admin of HKCU\\" + kRun + ": C:\\Admin\\tool.exe, no Start in, normal; Postpone "
                    "cannot start it: it asks for administrator rights: started by Postpone it fails with error 740"))
        << text;
    EXPECT_TRUE(HasPart("  4: the value Tray of HKLM\\")) << text;
    EXPECT_FALSE(HasPart("Postpone.lnk: ")) << text;  // Postpone itself is not listed
    EXPECT_EQ(Fake.files[kSettings].start, kOwnBytes);  // a report writes nothing

    // The shortcut: its program, arguments, folder and show state.
    EXPECT_EQ(Check("/add 1 /delay:90"), 0) << text;
    EXPECT_TRUE(HasPart("added: entry 2 of " + kSettings + ", started after 90 s (1 min 30 s): \"C:\\Program Files\\Mail"
                        "\\mail.exe\"")) << text;
    EXPECT_EQ(Fake.files[kSettings + ".bak"].start, kOwnBytes);
    const std::string& bytes = Fake.files[kSettings].start;
    EXPECT_EQ(bytes.substr(0, 72), kOwnBytes.substr(0, 72));            // up to the end of entry 1
    EXPECT_EQ(bytes.substr(bytes.size() - 19), "\r\n[Notes]\r\nkept=1\r\n");  // and after [Launch]
    ReadFileAgain();
    LaunchEntry read;
    ASSERT_EQ(ReadLaunchEntry(2, &read), EntryVerdict::Accepted) << bytes;
    EXPECT_EQ(read.Program, "C:\\Program Files\\Mail\\mail.exe");
    EXPECT_EQ(read.CmdLine, "-background \"C:\\My Mail\"");
    EXPECT_EQ(read.StartIn, "C:\\Program Files\\Mail");
    EXPECT_EQ(read.WndStyle, 6);
    EXPECT_EQ(read.DelaySec, 90);
    EXPECT_EQ(Switch(OsRegistryRoot::CurrentUser, "StartupFolder", "Mail.lnk"), SwitchedOffValue(OsFileTimeNow()));

    // The Run value: no folder of its own, started shown, after 60 s.
    EXPECT_EQ(Check("/add 2"), 0) << text;
    ReadFileAgain();
    ASSERT_EQ(ReadLaunchEntry(3, &read), EntryVerdict::Accepted);
    EXPECT_EQ(read.Program, "C:\\Program Files\\Sync\\sync.exe");
    EXPECT_EQ(read.CmdLine, "-q");
    EXPECT_EQ(read.StartIn, "");
    EXPECT_EQ(read.WndStyle, 1);
    EXPECT_EQ(read.DelaySec, kDefaultAddDelay);
    EXPECT_FALSE(Switch(OsRegistryRoot::CurrentUser, "Run", "Sync").empty());
    EXPECT_TRUE(HasPart("  2: the value Sync of HKCU\\" + kRun + ": \"C:\\Program Files\\Sync\\sync.exe\" -q, no Start "
                        "in, normal; switched off in Task Manager's Startup tab")) << text;

    // HKLM's switch takes administrator rights: the entry is added, and the
    // original still starts.
    EXPECT_EQ(Check("/add 4"), 1) << text;
    EXPECT_TRUE(HasPart("warning: the value Tray of HKLM\\" + kRun + " still starts at logon as well: switching it off "
                        "takes administrator rights")) << text;
}

TEST_F(AddTest, AMissingSettingsFileIsCreatedWithTheEntry) {
    Fake.files.erase(kSettings);
    Fake.profiles.erase(kSettings);
    Check("/add 2");
    EXPECT_TRUE(HasPart("; the file is new")) << text;
    EXPECT_EQ(Fake.files[kSettings].start.substr(0, 10), "[Launch]\r\n");
    EXPECT_EQ(Fake.files.count(kSettings + ".bak"), 0u);
}

struct RefusalCase {
    const char* what;
    std::string tail;
    std::string said;  // part of the error line
    std::function<void()> arrange = [] {};
};

TEST_F(AddTest, ARefusedAddChangesNothing) {
    const std::vector<RefusalCase> cases = {
        {"not in the list", "/add 9", "there is no 9 in the list of what else starts at logon (1 to 4"},
        {"one Postpone cannot start", "/add 3", "it asks for administrator rights"},
        {"already an entry", "/add 4", "entry 5 starts C:\\Apps\\a.exe -tray, no Start in, normal already",
         [] { Set({{"Program5", kProgram}, {"CmdLine5", "-tray"}, {"DelaySec5", "0"}}); }},
        {"no number free", "/add 1", "every entry number, 1 to 100, is taken",
         [] {
             for (int n = 2; n <= 100; ++n) SetProfileValue(kSettings, "Program" + std::to_string(n), "x.exe");
         }},
        {"a disk that fills", "/add 1", "could not be written (Windows answered error 112)",
         [] { Fake.diskFullAfter = 10; }},
        {"a file changed meanwhile", "/add 1", "changed while postpone-check was adding to it",
         [] { Fake.changedWhileWriting[kSettings] = "; edited\r\n"; }},
        {"a file that may not be written", "/add 1", "cannot be written with your rights",
         [] { Fake.readOnlyFiles.insert(kSettings); }},
        {"a name the code page cannot spell", "/add 1", "the ANSI code page cannot spell it",
         [] { Fake.shellLinks[kMail].target = "C:\\Program Files\\M?il\\mail.exe"; }},
        {"a file Windows does not read as written", "/add 1", "UTF-8 with a byte-order mark",
         [] { Fake.files[kSettings].start = "\xEF\xBB\xBF" + kOwnBytes; }},
        {"a file that cannot be read", "/add 1", kSettings + " cannot be read",
         [] { Fake.files[kSettings].readable = false; }},
        {"a document in the Startup folder", "/add 2", "notes.txt is a document or a script, not a program",
         [] { Fake.files[Fake.userStartup + "\\notes.txt"].start = "remember"; }},
    };
    for (const RefusalCase& c : cases) {
        ResetFake();
        ResetGlobals();
        SetUp();
        c.arrange();
        const std::string before = Fake.files[kSettings].start;
        const std::string expected = c.what == std::string("a file changed meanwhile") ? "; edited\r\n" : before;
        EXPECT_EQ(Check(c.tail), kAddRefused) << c.what << "\n" << text;
        EXPECT_TRUE(HasPart("error: nothing added: ")) << c.what << "\n" << text;
        EXPECT_TRUE(HasPart(c.said)) << c.what << "\n" << text;
        EXPECT_EQ(Fake.files[kSettings].start, expected) << c.what;
        EXPECT_EQ(Fake.files.count(kSettings + ".new") + Fake.files.count(kSettings + ".bak"), 0u) << c.what;
        EXPECT_TRUE(Switch(OsRegistryRoot::CurrentUser, "StartupFolder", "Mail.lnk").empty()) << c.what;
    }
}

TEST(MarkOfTheWeb, TheZoneIsTheZoneIdOfTheZoneTransferSection) {
    const std::vector<std::pair<std::string, int32_t>> cases = {
        {"[ZoneTransfer]\r\nZoneId=3\r\nReferrerUrl=https://example.org/\r\n", 3},
        {"[ZoneTransfer]\nHostUrl=about:internet\nZoneId = 4 \n", 4},
        {"[ZoneTransfer]\r\nZoneId=2\r\n", 2},
        {"[Other]\r\nZoneId=3\r\n", -1},
        {"[ZoneTransfer]\r\nZoneId=x\r\n", -1},
        {"[ZoneTransfer]\r\nZoneId=1234567890\r\n", -1},
        {"", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(ZoneOfStream(c.first), c.second) << c.first;
    EXPECT_EQ(ShowStateOfShortcut(7), 6);  // "Minimised": SW_SHOWMINNOACTIVE in the file
    EXPECT_EQ(ShowStateOfShortcut(2), 6);  // and SW_SHOWMINIMIZED from GetShowCmd
    EXPECT_EQ(ShowStateOfShortcut(3), 3);
    EXPECT_EQ(ShowStateOfShortcut(5), 1);
    EXPECT_EQ(SwitchedOffValue(0x0807060504030201ull), std::string("\x03\0\0\0\x01\x02\x03\x04\x05\x06\x07\x08", 12));
}

TEST_F(CheckerTest, ADownloadedPostponeOrProgramIsWarnedAbout) {
    Set(Complete());
    Fake.files[kExe + ":Zone.Identifier"].start = "[ZoneTransfer]\r\nZoneId=3\r\n";
    Fake.files[kProgram + ":Zone.Identifier"].start = "[ZoneTransfer]\r\nZoneId=4\r\n";  // an untrusted site
    Set({{"Program2", "C:\\Apps\\b.exe"}, {"CmdLine2", "\"\""}, {"DelaySec2", "0"}, {"WndStyle2", "1"}});
    Fake.files["C:\\Apps\\b.exe"].start = PeImage();
    Fake.files["C:\\Apps\\b.exe:Zone.Identifier"].start = "[ZoneTransfer]\r\nZoneId=2\r\n";  // trusted: no prompt
    EXPECT_EQ(Check(), 1);
    EXPECT_TRUE(HasPart("warning: " + kExe + " carries the mark of the web (downloaded, zone 3): Windows may hold it "
                        "at logon behind a security prompt")) << text;
    EXPECT_TRUE(HasPart("Unblock-File '" + kExe + "'")) << text;
    EXPECT_TRUE(HasPart("warning: entry 1: Program1: " + kProgram + " carries the mark of the web (downloaded, zone 4): "
                        "Postpone starts it all the same")) << text;
    EXPECT_FALSE(HasPart("b.exe carries")) << text;
}

}  // namespace
