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
    RecordLine failed = Line(RecordOutcome::Failed, 2, "C:\\gone.exe ");
    failed.error = 740;
    RecordLine copy = failed;
    copy.copy = true;
    RecordLine notStarted = Line(RecordOutcome::NotStarted, 100, "V:\\Vault");
    notStarted.waited = 600;
    RecordLine broken = Line(RecordOutcome::Failed, 5, std::string("a\r\nb\0c", 7));
    broken.error = 2;

    const std::vector<std::pair<RecordLine, std::string>> cases = {
        {list, "2026-12-10 08:59:02\tlist\tread\taccepted 4\tskipped 3 7\tc:\\tools\\postpone.ini"},
        {started, "2026-12-10 08:59:02\tentry 1\tstarted\tpid 4294967292\tdelay -5 s\tlate 2 s\t\"C:\\My Apps\\a.exe\" -x\t\"y\""},
        {waited, "2026-12-10 08:59:02\tentry 1\tstarted\tpid 4294967292\tdelay -5 s\tlate 2 s\twaited 40 s\t\"C:\\My Apps\\a.exe\" -x\t\"y\""},
        {failed, "2026-12-10 08:59:02\tentry 2\tfailed\terror 740\tC:\\gone.exe "},
        {copy, "2026-12-10 08:59:02\tentry 2\tfailed\terror 740\tcopy\tC:\\gone.exe "},
        {notStarted, "2026-12-10 08:59:02\tentry 100\tnot started\twaited 600 s\tV:\\Vault"},
        // A line break would cut the event in two; the platform sees a command up to its NUL.
        {broken, "2026-12-10 08:59:02\tentry 5\tfailed\terror 2\ta<0x0D><0x0A>b"},
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
    EXPECT_EQ(Fake.created[0].command,
              kExe + " /E /P:a.exe \"/C:-a\" /D:0 /S:0 /L:" + kRecord + " /N:1 /T:32342");
    EXPECT_EQ(Fake.created[1].command,
              kExe + " /E \"/P:C:\\My Apps\\d.exe\" \"/C:\" /D:0 /S:0 /L:" + kRecord + " /N:4 /T:32342");
    EXPECT_EQ(RecordLines(), (std::vector<std::string>{
                                 "2026-12-10 08:59:02\tlist\tread\taccepted 2\tskipped 2\t" + kSettings,
                                 "2026-12-10 08:59:02\tentry 4\tfailed\terror 5\tcopy\t" + Fake.created[1].command,
                             }));
    EXPECT_EQ(Fake.locksHeld, 0);
    EXPECT_TRUE(Fake.openFiles.empty());
    EXPECT_EQ(Fake.errorMode, 0u);
}

struct CopyCase {
    const char* what;
    std::string switches;  // after /E /L:... /N:3 /D:30 /T:36000
    FakeStart start;
    int32_t exitCode;
    std::string line;  // after the time and "entry 3"
};

TEST_F(LauncherTest, ACopyRecordsWhatBecameOfItsStartOnceItIsDone) {
    const std::vector<CopyCase> cases = {
        {"started, 2 s late", "/P:c:\\tools\\a.exe \"/C:-x\"", FakeStart{true, 0, 4444, true, 0}, 4444,
         "10:00:32\tentry 3\tstarted\tpid 4444\tdelay 30 s\tlate 2 s\tc:\\tools\\a.exe -x"},
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
        // The copy reads 10:00:02 as it starts, and is two seconds slower than
        // that to sleep: a busy machine.
        Fake.clockReadings = {TimeOfDay(10, 0, 2)};
        Fake.clockMs = TimeOfDay(10, 0, 4);
        Fake.starts = {c.start};
        Fake.pathsAppearAt["C:\\Apps"] = TimeOfDay(10, 0, 34);
        const uint32_t code = RunProcessWith(kExe + " /E " + c.switches + " /D:30 /L:" + kRecord + " /N:3 /T:36000");
        EXPECT_EQ(static_cast<int32_t>(code), c.exitCode) << c.what;
        EXPECT_EQ(RecordLines(), std::vector<std::string>{"2026-12-10 " + c.line}) << c.what;
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
    uint32_t slept;                  // in all, waiting for the record
};

TEST_F(LauncherTest, ARecordThatCannotBeWrittenCostsTheStartNothingAndNoCopyWaitsMoreThanAMoment) {
    const std::string line = "2026-12-10 10:00:00\tentry 0\tstarted\tpid 4444\tdelay 0 s\tlate 0 s\ta.exe ";
    const std::string halfALine = (line + "\r\n").substr(0, (line.size() + 2) / 2);
    const std::vector<FaultCase> cases = {
        {"written", {}, 2, 0, false, "", {line}, 0},
        {"its folder is made", {}, 1, 0, false, "", {line}, 0},
        {"a folder further off is not", {}, 0, 0, false, "", {}, 0},
        {"no right to write there", {5}, 2, 0, false, "", {}, 0},
        {"a scanner holds it for a moment", {32, 32}, 2, 0, false, "", {line}, 20},
        {"an editor holds it without sharing", std::deque<uint32_t>(50, 32), 2, 0, false, "", {}, 190},
        {"another copy writes first", {}, 2, 3, false, "", {line}, 30},
        {"another writer never lets go", {}, 2, -1, false, "", {line}, 990},
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
        Fake.starts = {FakeStart{true, 0, 4444, true, 0}};
        EXPECT_EQ(RunProcessWith(kExe + " /E /P:a.exe /L:" + kRecord + " /T:36000"), 4444u) << c.what;
        EXPECT_EQ(Fake.created.size(), 1u) << c.what;
        uint32_t slept = 0;
        for (uint32_t piece : Fake.sleeps) slept += piece;
        EXPECT_EQ(slept, c.slept) << c.what;
        EXPECT_EQ(Fake.files.count(kRecord) != 0 ? RecordLines() : std::vector<std::string>(), c.after) << c.what;
        EXPECT_EQ(Fake.errorMode, 0u) << c.what;
        EXPECT_TRUE(Fake.openFiles.empty()) << c.what;
        EXPECT_EQ(Fake.locksHeld, 0) << c.what;
        EXPECT_TRUE(Fake.boxes.empty()) << c.what;
        EXPECT_EQ(Fake.lookErrorModes, std::vector<uint32_t>(Fake.lookErrorModes.size(), 0x8001)) << c.what;
    }
}

TEST_F(LauncherTest, ListModeMovesARecordOverItsLimitAsideBeforeItWrites) {
    for (const uint64_t size : {kRecordLimit, kRecordLimit + 1}) {
        ResetFake();
        ResetGlobals();
        Fake.moduleFileName = kExe;
        Fake.files["c:\\tools\\logs"].folder = true;
        Fake.files[kRecord].start = std::string(size - 2, 'o') + "\r\n";
        Fake.files[kRecord + ".1"].start = "older";
        SetProfileValue(kSettings, "LogFile", kRecord);
        AddEntry(1, "a.exe", "-a");
        RunProcessWith(kExe);
        const bool moved = size > kRecordLimit;
        EXPECT_EQ(Fake.files[kRecord + ".1"].start.size(), moved ? size : 5u) << size;
        EXPECT_EQ(RecordLines().size(), moved ? 1u : 2u) << size;
        EXPECT_NE(RecordLines().back().find("\tlist\tread\taccepted 1\t"), std::string::npos) << size;
    }
}

}  // namespace
