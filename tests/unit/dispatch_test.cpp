// The whole process through the double: mode dispatch and exit codes.
#include <cstdlib>
#include <exception>

#include "launcher_test.h"

namespace {

const std::string kExe = "C:\\Tools\\Postpone.exe";
const std::string kSettings = "c:\\tools\\postpone.ini";

void AddEntry(int n, const std::string& program, const std::string& arguments, const std::string& delay) {
    const std::string number = std::to_string(n);
    SetProfileValue(kSettings, "Program" + number, program);
    SetProfileValue(kSettings, "CmdLine" + number, arguments);
    SetProfileValue(kSettings, "DelaySec" + number, delay);
}

TEST_F(LauncherTest, NoCommandLineAndNoSettingsFileEndsWithZero) {
    Fake.moduleFileName = kExe;
    EXPECT_EQ(RunProcessWith("\"" + kExe + "\""), 0u);
    EXPECT_TRUE(Fake.created.empty());
    EXPECT_TRUE(Fake.boxes.empty());
    EXPECT_EQ(Fake.searchedPaths, std::vector<std::string>{kSettings});
}

TEST_F(LauncherTest, ListModeSpawnsOneCopyPerEntryAndReturnsTheCount) {
    Fake.moduleFileName = kExe;
    AddEntry(1, "a.exe", "1", "10");
    AddEntry(2, "b.exe", "2", "20");
    AddEntry(3, "c.exe", "3", "30");
    EXPECT_EQ(RunProcessWith(kExe), 3u);
    ASSERT_EQ(Fake.created.size(), 3u);
    for (const FakeCreateCall& call : Fake.created) {
        EXPECT_EQ(call.command.rfind(kExe + " /E ", 0), 0u) << call.command;
        EXPECT_EQ(call.show, 0u);  // hidden
    }
    EXPECT_TRUE(Fake.waitedHandles.empty());  // list mode never waits
}

TEST_F(LauncherTest, ListModeWithOneAcceptedEntryStartsOneCopy) {
    Fake.moduleFileName = kExe;
    AddEntry(1, "a.exe", "1", "10");
    EXPECT_EQ(RunProcessWith(kExe), 1u);
    EXPECT_EQ(Fake.created.size(), 1u);
}

[[noreturn]] void AbortOnTerminate() {
    std::abort();
}

// Read while the test program starts, before any test resets them.
const bool kExecuteModeAtStart = ExecuteMode;
const int32_t kStampAtStart = StartStamp;
const int32_t kEntryCountAtStart = EntryCount;

TEST_F(LauncherTest, AFreshProcessIsInListModeWithStampZeroAndEndsQuietlyOnTerminate) {
    EXPECT_FALSE(kExecuteModeAtStart);
    EXPECT_EQ(kStampAtStart, 0);
    EXPECT_EQ(kEntryCountAtStart, 0);

    const std::terminate_handler before = std::set_terminate(AbortOnTerminate);
    Fake.moduleFileName = kExe;
    RunProcessWith(kExe);
    const std::terminate_handler installed = std::set_terminate(before);
    ASSERT_NE(installed, AbortOnTerminate);
    try {
        installed();  // what an exception nobody catches would reach
        ADD_FAILURE() << "the handler returned";
    } catch (const FakeExit& exit) {
        EXPECT_EQ(exit.code, 0u);
    }
}

TEST_F(LauncherTest, SettingsFileWithoutAcceptedEntriesEndsWithZero) {
    Fake.moduleFileName = kExe;
    SetProfileValue(kSettings, "Program1", "a.exe");  // no CmdLine1
    EXPECT_EQ(RunProcessWith(kExe), 0u);
    EXPECT_TRUE(Fake.created.empty());
}

TEST_F(LauncherTest, ExecuteModeUsesOnlySlotZeroAndNeverOpensTheSettingsFile) {
    Fake.moduleFileName = kExe;
    AddEntry(1, "a.exe", "1", "10");
    Fake.starts.push_back(FakeStart{true, 0, 4242, true, 0});
    EXPECT_EQ(RunProcessWith(kExe + " /E /P:x.exe \"/C:-a\" /S:3"), 4242u);
    ASSERT_EQ(Fake.created.size(), 1u);
    EXPECT_EQ(Fake.created[0].command, "x.exe -a");
    EXPECT_EQ(Fake.created[0].show, 3u);
    EXPECT_TRUE(Fake.searchedPaths.empty());
    EXPECT_TRUE(Fake.profileKeysRead.empty());
}

TEST_F(LauncherTest, HelpWinsOverExecuteMode) {
    Fake.moduleFileName = kExe;
    EXPECT_EQ(RunProcessWith(kExe + " /E /H /P:x.exe"), 0u);
    EXPECT_EQ(Fake.boxes.size(), 1u);
    EXPECT_TRUE(Fake.created.empty());
}

TEST_F(LauncherTest, ReadsThePlatformCommandLineOnce) {
    Fake.moduleFileName = kExe;
    RunProcessWith(kExe + " /E /P:x.exe");
    EXPECT_EQ(std::count(Fake.calls.begin(), Fake.calls.end(), "GetCommandLine"), 1);
    EXPECT_EQ(CommandTail, "/E /P:x.exe");
}

}  // namespace
