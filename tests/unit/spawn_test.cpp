#include <random>
#include <string>
#include <vector>

#include "command_line.h"
#include "launcher_test.h"
#include "spawn.h"

namespace {

TEST(BuildCopyCommand, WritesPlainEntriesExactlyInTheClassicForm) {
    EXPECT_EQ(BuildCopyCommand("C:\\Tools\\Postpone.exe", "c:\\windows\\notepad.exe", "c:\\notes\\today.txt", 30, 1,
                               36000),
              "C:\\Tools\\Postpone.exe /E /P:c:\\windows\\notepad.exe \"/C:c:\\notes\\today.txt\" /D:30 /S:1 /T:36000");
    EXPECT_EQ(BuildCopyCommand("C:\\P.exe", "a.exe", "", -5, 0, 0), "C:\\P.exe /E /P:a.exe \"/C:\" /D:-5 /S:0 /T:0");
}

TEST(BuildCopyCommand, QuotesPathsWithBlanksAndDoublesQuotes) {
    EXPECT_EQ(BuildCopyCommand("C:\\Program Files\\Postpone.exe", "c:\\my tools\\x.exe", "say \"hi\"", 1, 2, 3),
              "\"C:\\Program Files\\Postpone.exe\" /E \"/P:c:\\my tools\\x.exe\" \"/C:say \"\"hi\"\"\" /D:1 /S:2 /T:3");
    EXPECT_EQ(BuildCopyCommand("C:\\P.exe", "a\"b.exe", "a b\"", 1, 2, 3),
              "C:\\P.exe /E \"/P:a\"\"b.exe\" \"/C:a b\"\"\" /D:1 /S:2 /T:3");
    // A folder travels as /W: between /S: and /T:, quoted as the program is.
    EXPECT_EQ(BuildCopyCommand("C:\\P.exe", "a.exe", "", 1, 2, 3, "C:\\Work"),
              "C:\\P.exe /E /P:a.exe \"/C:\" /D:1 /S:2 /W:C:\\Work /T:3");
    EXPECT_EQ(BuildCopyCommand("C:\\P.exe", "a.exe", "", 1, 2, 3, "C:\\My \"W\""),
              "C:\\P.exe /E /P:a.exe \"/C:\" /D:1 /S:2 \"/W:C:\\My \"\"W\"\"\" /T:3");
    // A path to wait for travels as /F: with its longest wait as /M:, before /T:.
    LaunchEntry entry;
    entry.Program = "a.exe";
    entry.WaitFor = "\\\\nas\\my share";
    entry.WaitSec = 0;
    EXPECT_EQ(BuildCopyCommand("C:\\P.exe", entry, "3"),
              "C:\\P.exe /E /P:a.exe \"/C:\" /D:0 /S:0 \"/F:\\\\nas\\my share\" /M:0 /T:3");
    entry.StartIn = "C:\\W";
    entry.WaitFor = "V:\\";
    entry.WaitSec = 600;
    EXPECT_EQ(BuildCopyCommand("C:\\P.exe", entry, "3"),
              "C:\\P.exe /E /P:a.exe \"/C:\" /D:0 /S:0 /W:C:\\W /F:V:\\ /M:600 /T:3");
}

// Reads `command` back as the copy would: name removal, then the switches.
bool ReadBack(const std::string& command) {
    ResetGlobals();
    CommandTail = RemoveProgramName(command);
    return ParseCommandLine();
}

std::string RandomText(std::mt19937& random, size_t maxLength) {
    static const std::string kAwkward = " \"/hH?:\\\t&%E";
    std::uniform_int_distribution<size_t> length(0, maxLength);
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<size_t> pick(0, kAwkward.size() - 1);
    std::string text(length(random), 'x');
    for (char& c : text) c = kind(random) == 0 ? static_cast<char>(byte(random)) : kAwkward[pick(random)];
    return text;
}

TEST_F(LauncherTest, EveryEntryComesBackExactlyInTheCopy) {
    std::mt19937 random(20261208);
    const std::vector<std::string> exePaths = {"C:\\Tools\\Postpone.exe", "C:\\Program Files\\Postpone\\Postpone.exe"};
    const std::vector<std::string> fixed = {"", "\"", "\"\"", "\"\"\"", " ", "/h", "/?", "/E", "a b\"", "\" /D:5 \"",
                                            "/P:x", "\"/C:y\"", std::string(3000, '"')};
    for (int round = 0; round < 3000; ++round) {
        const std::string program = round < static_cast<int>(fixed.size()) ? fixed[round] : RandomText(random, 40);
        const std::string arguments =
            round < static_cast<int>(fixed.size()) ? fixed[fixed.size() - 1 - round] : RandomText(random, round % 10 == 0 ? 2000 : 60);
        const std::string startIn = round % 3 == 0 ? std::string() : RandomText(random, 40);
        LaunchEntry entry;
        entry.Program = program;
        entry.CmdLine = arguments;
        entry.DelaySec = round - 1500;
        entry.WndStyle = round % 7;
        entry.StartIn = startIn;
        entry.WaitFor = round % 4 == 0 ? std::string() : RandomText(random, 40);
        entry.WaitSec = round * 7;
        entry.Number = round % 100 + 1;
        const std::string logFile = round % 5 == 0 ? std::string() : RandomText(random, 40);
        const std::string command = BuildCopyCommand(exePaths[round % 2], entry, std::to_string(round * 29), logFile);
        ASSERT_TRUE(ReadBack(command)) << "help shown for [" << command << "]";
        ASSERT_TRUE(ExecuteMode) << command;
        ASSERT_EQ(Table.Program[0], program) << command;
        ASSERT_EQ(Table.CmdLine[0], arguments) << command;
        ASSERT_EQ(Table.DelaySec[0], round - 1500) << command;
        ASSERT_EQ(Table.WndStyle[0], round % 7) << command;
        ASSERT_EQ(StartStamp, round * 29) << command;
        ASSERT_EQ(Table.StartIn[0], startIn) << command;
        ASSERT_EQ(Table.WaitFor[0], entry.WaitFor) << command;
        ASSERT_EQ(Table.WaitSec[0], entry.WaitFor.empty() ? 600 : round * 7) << command;
        ASSERT_EQ(LogFile, logFile) << command;
        ASSERT_EQ(Table.Number[0], logFile.empty() ? 0 : entry.Number) << command;
    }
    EXPECT_TRUE(Fake.boxes.empty());
}

TEST_F(LauncherTest, SpawnEntriesStartsOneHiddenCopyPerEntryWithAFreshStamp) {
    ExePath = "C:\\Tools\\Postpone.exe";
    EntryCount = 2;
    Table.Program[1] = "a.exe";
    Table.CmdLine[1] = "-a -b";
    Table.DelaySec[1] = 10;
    Table.WndStyle[1] = 1;
    Table.Program[2] = "b.exe";
    Table.CmdLine[2] = "";
    Table.DelaySec[2] = 20;
    Table.StartIn[2] = "%TEMP%";
    Fake.clockReadings = {TimeOfDay(10, 0, 0), TimeOfDay(10, 0, 1)};
    Fake.starts = {FakeStart{false, 2, 0, false, 0}, FakeStart{}};  // a failed copy does not stop the loop
    SpawnEntries();
    ASSERT_EQ(Fake.created.size(), 2u);
    EXPECT_EQ(Fake.created[0].command, "C:\\Tools\\Postpone.exe /E /P:a.exe \"/C:-a -b\" /D:10 /S:1 /T:36000");
    EXPECT_EQ(Fake.created[1].command, "C:\\Tools\\Postpone.exe /E /P:b.exe \"/C:\" /D:20 /S:0 /W:%TEMP% /T:36001");
    EXPECT_EQ(Fake.created[0].show, 0u);
    EXPECT_EQ(Fake.created[1].show, 0u);
    EXPECT_TRUE(Fake.waitedHandles.empty());
}

}  // namespace
