// The record of starts: its lines, what list mode and a copy write through the
// double, and that a record which cannot be written costs a start nothing.
#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "launcher_test.h"
#include "record_writer.h"
#include "run_record.h"

namespace {

const std::string kExe = "C:\\Tools\\Postpone.exe";
const std::string kSettings = "c:\\tools\\postpone.ini";
const std::string kRecord = "c:\\tools\\logs\\postpone.log";

RecordLine Line(RecordOutcome outcome, int32_t entry, const std::string& text) {
    RecordLine line;
    line.time = "2026-12-10 08:59:02";
    line.outcome = outcome;
    line.entry = entry;
    line.text = text;
    return line;
}

TEST(RecordLine, EachOutcomeIsWrittenAsOneTabbedLineAndReadBackAsWritten) {
    RecordLine list = Line(RecordOutcome::Read, 0, "c:\\tools\\postpone.ini");
    list.list = true;
    list.accepted = 4;
    list.skipped = {3, 7};
    RecordLine started = Line(RecordOutcome::Started, 1, "\"C:\\My Apps\\a.exe\" -x\t\"y\"");
    started.processId = 4294967292u;
    started.delay = -5;
    started.late = 2;
    RecordLine waited = started;
    waited.waited = 40;
    RecordLine atOnce = started;
    atOnce.waited = 0;  // its path was there at the first look
    RecordLine failed = Line(RecordOutcome::Failed, 2, "C:\\gone.exe ");
    failed.error = 740;
    RecordLine copy = failed;
    copy.copy = true;
    RecordLine notStarted = Line(RecordOutcome::NotStarted, 100, "V:\\Vault");
    notStarted.waited = 600;
    RecordLine broken = Line(RecordOutcome::Failed, 5, std::string("a\r\nb\0c", 7));
    broken.error = 2;
    RecordLine tagged = list;
    tagged.run = "3f9a1c2e";
    tagged.handed = {1, 2, 4};
    tagged.machine = "PC1";
    RecordLine taggedStart = started;
    taggedStart.run = "3f9a1c2e";
    RecordLine noProcess = Line(RecordOutcome::NoProcess, 6, "a.exe ");
    noProcess.run = "00000000";
    noProcess.delay = 30;

    const std::vector<std::pair<RecordLine, std::string>> cases = {
        {list, "2026-12-10 08:59:02\tlist\tread\taccepted 4\tskipped 3 7\tc:\\tools\\postpone.ini"},
        {started, "2026-12-10 08:59:02\tentry 1\tstarted\tpid 4294967292\tdelay -5 s\tlate 2 s\t\"C:\\My Apps\\a.exe\" -x\t\"y\""},
        {waited, "2026-12-10 08:59:02\tentry 1\tstarted\tpid 4294967292\tdelay -5 s\tlate 2 s\twaited 40 s\t\"C:\\My Apps\\a.exe\" -x\t\"y\""},
        {atOnce, "2026-12-10 08:59:02\tentry 1\tstarted\tpid 4294967292\tdelay -5 s\tlate 2 s\twaited 0 s\t\"C:\\My Apps\\a.exe\" -x\t\"y\""},
        {failed, "2026-12-10 08:59:02\tentry 2\tfailed\terror 740\tC:\\gone.exe "},
        {copy, "2026-12-10 08:59:02\tentry 2\tfailed\terror 740\tcopy\tC:\\gone.exe "},
        {notStarted, "2026-12-10 08:59:02\tentry 100\tnot started\twaited 600 s\tV:\\Vault"},
        // A line break would cut the event in two; the platform sees a command up to its NUL.
        {broken, "2026-12-10 08:59:02\tentry 5\tfailed\terror 2\ta<0x0D><0x0A>b"},
        {tagged, "2026-12-10 08:59:02\trun 3f9a1c2e\tlist\tread\taccepted 4\tentries 1 2 4\tskipped 3 7\tmachine "
                 "PC1\tc:\\tools\\postpone.ini"},
        {taggedStart, "2026-12-10 08:59:02\trun 3f9a1c2e\tentry 1\tstarted\tpid 4294967292\tdelay -5 s\tlate 2 s\t"
                      "\"C:\\My Apps\\a.exe\" -x\t\"y\""},
        {noProcess, "2026-12-10 08:59:02\trun 00000000\tentry 6\tno process\tdelay 30 s\tlate 0 s\ta.exe "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatRecordLine(c.first), c.second);
        RecordLine read;
        ASSERT_TRUE(ParseRecordLine(c.second, &read)) << c.second;
        EXPECT_EQ(FormatRecordLine(read), c.second);
    }
    RecordLine none = list;
    none.accepted = 0;
    none.skipped.clear();
    EXPECT_EQ(FormatRecordLine(none), "2026-12-10 08:59:02\tlist\tread\taccepted 0\tskipped none\tc:\\tools\\postpone.ini");
    EXPECT_TRUE(ParseRecordLine(FormatRecordLine(none), &none));
    EXPECT_EQ(RecordTime(OsLocalTime{8, 5, 2, 999, 2026, 1, 9}), "2026-01-09 08:05:02");
}

TEST(RecordLine, AnythingElseDoesNotReadBack) {
    const std::vector<std::string> lines = {
        "2026-12-10 8:59:02\tentry 1\tfailed\terror 2\tx",      // the time's shape
        "2026-12-10 08:59:02\tentry x\tfailed\terror 2\tx",      // the entry's number
        "2026-12-10 08:59:02\tentry 1\tfinished\terror 2\tx",    // the outcome
        "2026-12-10 08:59:02\tlist\tstarted\taccepted 4\tskipped none\tp",
        "2026-12-10 08:59:02\tentry 1\tfailed\terror 2",         // no command
        "2026-12-10 08:59:02\tentry 1\tstarted\tpid 1\tdelay 3 s\tlate soon\tx",
        "2026-12-10 08:59:02\tentry 1\tnot started\twaited 6\tV:\\",  // no unit
        "2026-12-10 08:59:02\tlist\tread\taccepted 4\tskipped 0\tp",  // no entry 0
        "2026-12-10T08:59:02\tentry 1\tfailed\terror 2\tx",     // the time's separators
        "2026-12-1a 08:59:02\tentry 1\tfailed\terror 2\tx",     // and its digits
        "2026-12-10 08:59:02\tlist",                             // cut short
        "2026-12-10 08:59:02\tentry 1\tstarted",
        "2026-12-10 08:59:02\tentry 1\tstarted\tpid 1\tdelay 3 s\tlate 0 s",  // no command
        "2026-12-10 08:59:02\trun 3F9A1C2E\tentry 1\tfailed\terror 2\tx",     // the tag's shape
        "2026-12-10 08:59:02\trun 3f9a1c2e\tlist\tread\taccepted 1\tentries 1\tskipped none\tp",  // no machine
        "2026-12-10 08:59:02\trun 3f9a1c2e\tlist\tread\taccepted 1\tskipped none\tmachine PC1\tp",  // no entries
        "x026-12-10 08:59:02\tentry 1\tfailed\terror 2\tx",
        "2026-12-10 08:59:02\tentry 1\tfailed\terror 1234567890123456789\tx",  // 19 digits
        "2026-12-10 08:59:02\tentry 1\tstarted\tpid 1\tdelay -2147483649 s\tlate 0 s\tx",  // beyond 32 bits
        "2026-12-10 08:59:02\tentry 1\tstarted\tpid 1\tdelay soon\tlate 0 s\tx",
        "2026-12-10 08:59:02\tentry 1\tnot started\twaited 6 s",                       // no path
        "2026-12-10 08:59:02\tlist\tread\taccepted 4\tskipped none",                   // no settings file
        "2026-12-10 08:59:02\trun 3f9a1c2e\tlist\tread\taccepted 1\tentries 1\tskipped none\tmachine PC1",
    };
    for (const std::string& text : lines) {
        RecordLine line;
        EXPECT_FALSE(ParseRecordLine(text, &line)) << text;
    }
}

void AddEntry(int n, const std::string& program, const std::string& arguments) {
    const std::string number = std::to_string(n);
    SetProfileValue(kSettings, "Program" + number, program);
    SetProfileValue(kSettings, "CmdLine" + number, arguments);
    SetProfileValue(kSettings, "DelaySec" + number, "0");
}

std::vector<std::string> RecordLines(const std::string& path = kRecord) {
    std::vector<std::string> lines;
    const std::string& contents = Fake.files[path].start;
    for (size_t start = 0; start < contents.size();) {
        const size_t end = contents.find("\r\n", start);
        lines.push_back(contents.substr(start, end - start));
        start = end == std::string::npos ? contents.size() : end + 2;
    }
    return lines;
}

TEST_F(LauncherTest, ListModeRecordsItsRunAndACopyThatDidNotStartAndHandsTheRecordToEachCopy) {
    Fake.moduleFileName = kExe;
    Fake.files["c:\\tools"].folder = true;  // the record's own folder is made, nothing above it
    Fake.environment["LOGS"] = "logs";
    SetProfileValue(kSettings, "LogFile", "%LOGS%\\postpone.log");
    AddEntry(1, "a.exe", "-a");
    SetProfileValue(kSettings, "Program2", "b.exe");  // no CmdLine2: skipped
    SetProfileValue(kSettings, "CmdLine3", "-c");     // no Program3: no entry at all
    AddEntry(4, "C:\\My Apps\\d.exe", "\"\"");
    Fake.clockMs = TimeOfDay(8, 59, 2);
    Fake.starts = {FakeStart{}, FakeStart{false, 5, 0, false, 0}};

    EXPECT_EQ(RunProcessWith(kExe), 2u);
    ASSERT_EQ(Fake.created.size(), 2u);
    const size_t at = Fake.created[0].command.find(" /R:");
    ASSERT_NE(at, std::string::npos);
    const std::string tag = Fake.created[0].command.substr(at + 4, 8);
    EXPECT_TRUE(IsRunTag(tag)) << tag;
    EXPECT_EQ(Fake.created[0].command,
              kExe + " /E /P:a.exe \"/C:-a\" /D:0 /S:0 /L:" + kRecord + " /N:1 /R:" + tag + " /T:32342");
    EXPECT_EQ(Fake.created[1].command,
              kExe + " /E \"/P:C:\\My Apps\\d.exe\" \"/C:\" /D:0 /S:0 /L:" + kRecord + " /N:4 /R:" + tag + " /T:32342");
    EXPECT_EQ(RecordLines(), (std::vector<std::string>{
                                 "2026-12-10 08:59:02\trun " + tag + "\tlist\tread\taccepted 2\tentries 1 4\tskipped "
                                 "2\tmachine PC1\t" + kSettings,
                                 "2026-12-10 08:59:02\trun " + tag + "\tentry 4\tfailed\terror 5\tcopy\t" +
                                     Fake.created[1].command,
                             }));
    // Another logon of the machine a moment later is another run.
    Fake.clockMs += 1;
    EXPECT_NE(MakeRunTag(), tag);
    // So is another machine's at the same moment.
    Fake.clockMs -= 1;
    Fake.computerName = "PC2";
    EXPECT_NE(MakeRunTag(), tag);
    EXPECT_EQ(Fake.locksHeld, 0);
    EXPECT_TRUE(Fake.openFiles.empty());
    EXPECT_EQ(Fake.errorMode, 0u);
}

struct CopyCase {
    const char* what;
    std::string switches;  // after /E /L:... /N:3 /R:0123abcd /D:30 /T:36000
    FakeStart start;
    int32_t exitCode;
    std::string line;  // the time of day, then after "run 0123abcd"
    std::deque<int64_t> clockReadings = {TimeOfDay(10, 0, 2)};
    int64_t overrunMs = 2000;
};

TEST_F(LauncherTest, ACopyRecordsWhatBecameOfItsStartOnceItIsDone) {
    const std::vector<CopyCase> cases = {
        {"started, 2 s late", "/P:c:\\tools\\a.exe \"/C:-x\"", FakeStart{true, 0, 4444, true, 0}, 4444,
         "10:00:32\tentry 3\tstarted\tpid 4444\tdelay 30 s\tlate 2 s\tc:\\tools\\a.exe -x"},
        // The clock put an hour on while the copy slept: its tick count says
        // it is as late as before.
        {"the time of day changed", "/P:a.exe", FakeStart{true, 0, 4444, true, 0}, 4444,
         "11:00:32\tentry 3\tstarted\tpid 4444\tdelay 30 s\tlate 2 s\ta.exe ",
         {TimeOfDay(10, 0, 2), TimeOfDay(11, 0, 32)}},
        {"Windows answers neither a process nor an error", "/P:a.exe", FakeStart{false, 0, 0, false, 0}, 0,
         "10:00:32\tentry 3\tno process\tdelay 30 s\tlate 2 s\ta.exe "},
        {"a fatal error is recorded before the copy ends", "/P:a.exe", FakeStart{false, 9, 0, false, 0}, 255,
         "10:00:32\tentry 3\tfailed\terror 9\ta.exe "},
        // Whole seconds, half up.
        {"2.5 s late", "/P:a.exe", FakeStart{true, 0, 4444, true, 0}, 4444,
         "10:00:32\tentry 3\tstarted\tpid 4444\tdelay 30 s\tlate 3 s\ta.exe ", {TimeOfDay(10, 0, 2)}, 2500},
        {"2.499 s late", "/P:a.exe", FakeStart{true, 0, 4444, true, 0}, 4444,
         "10:00:32\tentry 3\tstarted\tpid 4444\tdelay 30 s\tlate 2 s\ta.exe ", {TimeOfDay(10, 0, 2)}, 2499},
        {"refused", "/P:c:\\tools\\admin.exe", FakeStart{false, 740, 0, false, 0}, 0,
         "10:00:32\tentry 3\tfailed\terror 740\tc:\\tools\\admin.exe "},
        {"its folder missing", "/P:a.exe /W:C:\\Gone", FakeStart{false, 267, 0, false, 0}, 0,
         "10:00:32\tentry 3\tfailed\terror 267\ta.exe "},
        {"its path never came", "/P:a.exe /F:V:\\Vault /M:5", FakeStart{}, 0,
         "10:00:37\tentry 3\tnot started\twaited 5 s\tV:\\Vault"},
        {"its path came after 2 s", "/P:a.exe /F:C:\\Apps /M:5", FakeStart{true, 0, 8, true, 0}, 8,
         "10:00:34\tentry 3\tstarted\tpid 8\tdelay 30 s\tlate 2 s\twaited 2 s\ta.exe "},
        {"a command too long never reaches Windows", "/P:a.exe \"/C:" + std::string(33000, 'x') + "\"", FakeStart{}, 0,
         "10:00:32\tentry 3\tfailed\terror 206\ta.exe " + std::string(33000, 'x')},
    };
    for (const CopyCase& c : cases) {
        ResetFake();
        ResetGlobals();
        Fake.files["c:\\tools\\logs"].folder = true;
        Fake.moduleFileName = kExe;
        // The copy starts at 10:00:02, and its sleep lasts two seconds longer
        // than it asked: a busy machine.
        Fake.clockMs = TimeOfDay(10, 0, 2);
        Fake.clockReadings = c.clockReadings;
        Fake.nextSleepOverrunMs = c.overrunMs;
        Fake.starts = {c.start};
        Fake.pathsAppearAt["C:\\Apps"] = TimeOfDay(10, 0, 34);
        const uint32_t code =
            RunProcessWith(kExe + " /E " + c.switches + " /D:30 /L:" + kRecord + " /N:3 /R:0123abcd /T:36000");
        EXPECT_EQ(static_cast<int32_t>(code), c.exitCode) << c.what;
        const std::string line = c.line.substr(0, 9) + "run 0123abcd\t" + c.line.substr(9);
        EXPECT_EQ(RecordLines(), std::vector<std::string>{"2026-12-10 " + line}) << c.what;
        EXPECT_TRUE(Fake.boxes.empty()) << c.what;
    }
}

struct FaultCase {
    const char* what;
    std::deque<uint32_t> openErrors;
    int folders;         // 2: c:\tools\logs exists; 1: only c:\tools, where the record's own folder is made
    int lockHeld;        // the tries for which another writer holds the writers' lock (-1: throughout)
    bool writesFail;     // the disk is full
    std::string before;  // the record's contents before
    std::vector<std::string> after;  // its lines after
    int64_t mostMs;                  // the longest it may cost, waiting for the record
};

TEST_F(LauncherTest, ARecordThatCannotBeWrittenCostsTheStartNothingAndNoCopyWaitsMoreThanAMoment) {
    const std::string line = "2026-12-10 10:00:00\tentry 0\tstarted\tpid 4444\tdelay 0 s\tlate 0 s\ta.exe ";
    const std::string halfALine = (line + "\r\n").substr(0, (line.size() + 2) / 2);
    const std::vector<FaultCase> cases = {
        {"written", {}, 2, 0, false, "", {line}, 0},
        {"its folder is made", {}, 1, 0, false, "", {line}, 0},
        {"a folder further off is not", {}, 0, 0, false, "", {}, 0},
        {"no right to write there", {5}, 2, 0, false, "", {}, 0},
        {"another copy makes the folder first", {kPathNotFound}, 2, 0, false, "", {line}, 0},
        {"its folder made, the path is still not found", {kPathNotFound, kPathNotFound}, 2, 0, false, "", {}, 0},
        {"a record of one byte without its line end", {}, 2, 0, false, "x", {"x", line}, 0},
        {"a scanner holds it for a moment", {32, 32}, 2, 0, false, "", {line}, 40},
        {"an editor holds it without sharing", std::deque<uint32_t>(50, 32), 2, 0, false, "", {}, 200},
        {"another copy writes first", {}, 2, 3, false, "", {line}, 60},
        {"another writer never lets go", {}, 2, -1, false, "", {line}, 1000},
        {"a full disk", {}, 2, 0, true, "", {halfALine}, 0},
        {"a line left cut short", {}, 2, 0, false, "x\ty", {"x\ty", line}, 0},
        {"a record over its bound", {}, 2, 0, false, std::string(kRecordFullSize, 'x'),
         {std::string(kRecordFullSize, 'x')}, 0},
    };
    for (const FaultCase& c : cases) {
        ResetFake();
        ResetGlobals();
        if (c.folders >= 1) Fake.files["c:\\tools"].folder = true;
        if (c.folders >= 2) Fake.files["c:\\tools\\logs"].folder = true;
        if (!c.before.empty()) Fake.files[kRecord].start = c.before;
        Fake.appendOpenErrors = c.openErrors;
        Fake.lockRefusals = c.lockHeld;
        Fake.writesFail = c.writesFail;
        Fake.sleepTickMs = 16;  // as Windows sleeps: a clock tick at least
        Fake.starts = {FakeStart{true, 0, 4444, true, 0}};
        const int64_t before = Fake.clockMs;
        EXPECT_EQ(RunProcessWith(kExe + " /E /P:a.exe /L:" + kRecord + " /T:36000"), 4444u) << c.what;
        EXPECT_EQ(Fake.created.size(), 1u) << c.what;
        EXPECT_LE(Fake.clockMs - before, c.mostMs) << c.what;
        EXPECT_EQ(Fake.files.count(kRecord) != 0 ? RecordLines() : std::vector<std::string>(), c.after) << c.what;
        EXPECT_EQ(Fake.errorMode, 0u) << c.what;
        EXPECT_TRUE(Fake.openFiles.empty()) << c.what;
        EXPECT_EQ(Fake.locksHeld, 0) << c.what;
        EXPECT_TRUE(Fake.boxes.empty()) << c.what;
        EXPECT_EQ(Fake.lookErrorModes, std::vector<uint32_t>(Fake.lookErrorModes.size(), 0x8001)) << c.what;
    }
}

TEST_F(LauncherTest, ListModeMovesARecordOverItsLimitAsideBeforeItWrites) {
    // The last: the older file is open in another program, and Windows
    // replaces no open file; the record stays, and is written all the same.
    for (const uint64_t size : {kRecordLimit, kRecordLimit + 1, kRecordLimit + 2}) {
        ResetFake();
        ResetGlobals();
        Fake.moduleFileName = kExe;
        Fake.files["c:\\tools\\logs"].folder = true;
        Fake.files[kRecord].start = std::string(size - 2, 'o') + "\r\n";
        Fake.files[kRecord + ".1"].start = "older";
        const bool held = size == kRecordLimit + 2;
        if (held) Fake.openFiles[0x7777] = kRecord + ".1";
        SetProfileValue(kSettings, "LogFile", kRecord);
        AddEntry(1, "a.exe", "-a");
        RunProcessWith(kExe);
        const bool moved = size == kRecordLimit + 1;
        EXPECT_EQ(Fake.files[kRecord + ".1"].start.size(), moved ? size : 5u) << size;
        EXPECT_EQ(RecordLines().size(), moved ? 1u : 2u) << size;
        EXPECT_NE(RecordLines().back().find("\tlist\tread\taccepted 1\t"), std::string::npos) << size;
    }
}

// The record on a share whose server does not answer at logon: each call on
// it blocks for the SMB client's time-out. Every copy starts first, each
// with the stamp of its own start, and so does each copy's program.
TEST_F(LauncherTest, ARecordOnAShareThatDoesNotAnswerCostsTheStartsNothing) {
    const std::string record = "\\\\nas\\logs/Postpone/p.log";  // "/" as Windows takes it
    Fake.moduleFileName = kExe;
    Fake.files["\\\\nas\\logs"].folder = true;
    Fake.slowPathPrefix = "\\\\nas\\";
    SetProfileValue(kSettings, "LogFile", record);
    for (int n = 1; n <= 3; ++n) AddEntry(n, "a.exe", "-" + std::to_string(n));
    Fake.clockMs = TimeOfDay(8, 59, 2);

    EXPECT_EQ(RunProcessWith(kExe), 3u);
    const auto firstOnRecord = std::find_if(Fake.calls.begin(), Fake.calls.end(), [](const std::string& call) {
        return call.find("\\\\nas\\") != std::string::npos && call.rfind("CreateProcess", 0) != 0;
    });
    ASSERT_NE(firstOnRecord, Fake.calls.end());
    const auto lastStart = std::find_if(Fake.calls.rbegin(), Fake.calls.rend(), [](const std::string& call) {
        return call.rfind("CreateProcess", 0) == 0;
    });
    EXPECT_LT(lastStart.base() - Fake.calls.begin(), firstOnRecord - Fake.calls.begin());
    ASSERT_EQ(Fake.created.size(), 3u);
    for (const FakeCreateCall& copy : Fake.created) EXPECT_EQ(copy.command.substr(copy.command.size() - 8), "/T:32342");

    // A copy of that run: its program starts before it looks at the record,
    // and its line carries the run's tag beside list mode's.
    const std::string copy = Fake.created[0].command;
    Fake.created.clear();
    Fake.calls.clear();
    ResetGlobals();
    EXPECT_NE(RunProcessWith(copy), 0u);
    ASSERT_EQ(Fake.created.size(), 1u);
    EXPECT_EQ(Fake.calls.front().rfind("GetCommandLine", 0), 0u);
    const auto program = std::find(Fake.calls.begin(), Fake.calls.end(), "CreateProcess a.exe -1");
    const auto looked = std::find_if(Fake.calls.begin(), Fake.calls.end(), [](const std::string& call) {
        return call.find("\\\\nas\\") != std::string::npos;
    });
    EXPECT_LT(program - Fake.calls.begin(), looked - Fake.calls.begin());
    const std::vector<std::string> lines = RecordLines(record);
    ASSERT_EQ(lines.size(), 2u);
    const std::string tag = lines[0].substr(24, 8);
    EXPECT_NE(lines[0].find("\tlist\tread\taccepted 3\tentries 1 2 3\t"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1].find("\trun " + tag + "\tentry 1\tstarted\t"), 19u) << lines[1];
}

// Without LogFile nothing but the settings file is looked at, and the copies'
// command lines are what they were before the record.
TEST_F(LauncherTest, WithoutLogFileNoFileIsTouchedAndEveryCopyLineIsAsBefore) {
    Fake.moduleFileName = kExe;
    AddEntry(1, "a.exe", "-a");
    AddEntry(2, "C:\\My Apps\\b.exe", "\"\"");
    AddEntry(3, "c.exe", "-c");
    SetProfileValue(kSettings, "StartIn3", "C:\\Work");
    SetProfileValue(kSettings, "WaitFor3", "V:\\");
    SetProfileValue(kSettings, "WaitSec3", "90");
    AddEntry(4, "d.exe", "-d");
    SetProfileValue(kSettings, "WaitIdle4", "50");
    Fake.clockMs = TimeOfDay(8, 59, 2);
    EXPECT_EQ(RunProcessWith(kExe), 4u);
    ASSERT_EQ(Fake.created.size(), 4u);
    EXPECT_EQ(Fake.created[0].command, kExe + " /E /P:a.exe \"/C:-a\" /D:0 /S:0 /T:32342");
    EXPECT_EQ(Fake.created[1].command, kExe + " /E \"/P:C:\\My Apps\\b.exe\" \"/C:\" /D:0 /S:0 /T:32342");
    EXPECT_EQ(Fake.created[2].command, kExe + " /E /P:c.exe \"/C:-c\" /D:0 /S:0 /W:C:\\Work /F:V:\\ /M:90 /T:32342");
    EXPECT_EQ(Fake.created[3].command, kExe + " /E /P:d.exe \"/C:-d\" /D:0 /S:0 /M:600 /I:50 /T:32342");
    const std::string copy = Fake.created[0].command;
    const std::vector<std::string> listCalls = Fake.calls;
    Fake.calls.clear();
    ResetGlobals();
    EXPECT_NE(RunProcessWith(copy), 0u);
    for (const std::vector<std::string>* calls : std::initializer_list<const std::vector<std::string>*>{&listCalls, &Fake.calls}) {
        for (const std::string& call : *calls) {
            for (const char* operation : {"OpenForAppending", "GetFileSizeOf", "CreateFolder", "MoveFile", "SameFile",
                                          "GetFileAttributes"}) {
                EXPECT_NE(call.rfind(operation, 0), 0u) << call;
            }
            // The copy does not even learn its own path.
            if (calls == &Fake.calls) EXPECT_NE(call, "GetModuleFileName");
        }
    }
}

// A record that is the settings file under another spelling (its short name)
// is found out by the file itself, and never written.
TEST_F(LauncherTest, ACopyNeverWritesItsRecordIntoTheSettingsFile) {
    Fake.moduleFileName = kExe;
    Fake.files[kSettings].start = "[Launch]\r\n";
    Fake.files["C:\\TOOLS"].folder = true;
    Fake.sameFiles["C:\\TOOLS\\POSTPO~1.INI"] = kSettings;
    EXPECT_EQ(RunProcessWith(kExe + " /E /P:a.exe /L:C:\\TOOLS\\POSTPO~1.INI /N:1"), 1000u);
    EXPECT_EQ(Fake.files[kSettings].start, "[Launch]\r\n");
    EXPECT_EQ(Fake.files.count("C:\\TOOLS\\POSTPO~1.INI"), 0u);
}

}  // namespace
