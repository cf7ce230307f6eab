#include <string>
#include <vector>

#include "launcher_test.h"
#include "process_start.h"

namespace {

using StartProgramTest = LauncherTest;

TEST_F(StartProgramTest, HandsTheWholeCommandAndTheShowStateToThePlatform) {
    const std::string command = "c:\\x.exe " + std::string(300, 'a');
    const int32_t result = StartProgram(command, 1);
    ASSERT_EQ(Fake.created.size(), 1u);
    EXPECT_EQ(Fake.created[0].command, command);  // 300 characters and more arrive whole
    EXPECT_EQ(Fake.created[0].show, 1u);
    EXPECT_FALSE(Fake.created[0].folderGiven);  // no folder: the launcher's own
    // Normal priority, and the system's default error mode for the child
    // rather than the quiet one that is on around the call (Wine does not
    // pass an error mode on, so only here can it be seen).
    EXPECT_EQ(Fake.created[0].flags, 0x20u | 0x04000000u);
    EXPECT_EQ(result, 1000);
    EXPECT_TRUE(Fake.waitedHandles.empty());
    EXPECT_EQ(Fake.closedHandles.size(), 2u);  // process and thread

    StartProgram("x.exe", 1, "..\\rel");  // a folder is handed over as written
    ASSERT_TRUE(Fake.created[1].folderGiven);
    EXPECT_EQ(Fake.created[1].folder, "..\\rel");
}

TEST_F(StartProgramTest, Starts32766CharactersThePlatformTakesWithItsNulAndNot32767) {
    StartProgram(std::string(32766, 'x'), 0);
    ASSERT_EQ(Fake.created.size(), 1u);
    EXPECT_EQ(Fake.created[0].command.size(), 32766u);

    EXPECT_EQ(StartProgram(std::string(32767, 'x'), 0), 0);
    EXPECT_EQ(Fake.created.size(), 1u);  // not cut short: not started at all
    // Up to the first NUL is what counts.
    StartProgram(std::string(32766, 'x') + '\0' + "tail", 0);
    EXPECT_EQ(Fake.created.size(), 2u);
}

TEST_F(StartProgramTest, ThePlatformSeesTheCommandUpToItsFirstNul) {
    StartProgram(std::string("a.exe b\0c", 9), 0);
    ASSERT_EQ(Fake.created.size(), 1u);
    EXPECT_EQ(Fake.created[0].command, "a.exe b");
}

TEST_F(StartProgramTest, MasksTheShowStateAndWaitsWhenBit15IsSet) {
    Fake.starts.push_back(FakeStart{true, 0, 77, true, 0xABCD1234});
    const int32_t result = StartProgram("x.exe", 0x8000 | 1 | 0x10000);
    ASSERT_EQ(Fake.created.size(), 1u);
    EXPECT_EQ(Fake.created[0].show, 1u);  // bits 15 to 31 are not part of it
    EXPECT_EQ(Fake.waitedHandles.size(), 1u);
    EXPECT_EQ(result, static_cast<int32_t>(0xABCD1234));  // the program's exit code
    EXPECT_EQ(Fake.closedHandles.size(), 2u);
}

TEST_F(StartProgramTest, WaitingGivesZeroWhenTheExitCodeCannotBeRead) {
    FakeStart start{true, 0, 77, true, 5};
    start.exitCodeReadable = false;
    Fake.starts.push_back(start);
    EXPECT_EQ(StartProgram("x.exe", 0x8000), 0);
    EXPECT_EQ(Fake.waitedHandles.size(), 1u);
}

TEST_F(StartProgramTest, QuietsTheErrorModeAroundTheStartAndReadsTheErrorFirst) {
    Fake.errorMode = 5;
    StartProgram("x.exe", 0);
    const std::vector<std::string> expected = {"SetErrorMode 32769", "SetLastError 0", "CreateProcess x.exe",
                                               "GetLastError", "SetErrorMode 5"};
    ASSERT_GE(Fake.calls.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(Fake.calls.begin(), Fake.calls.begin() + 5), expected);
    EXPECT_EQ(Fake.errorMode, 5u);
}

struct FailureCase {
    uint32_t lastError;
    bool ends;
};

TEST_F(StartProgramTest, AFailedStartYieldsZeroAndMemoryFaultsEndTheProcess) {
    const std::vector<FailureCase> cases = {{2, false}, {5, false}, {87, false}, {193, false},
                                            {7, true},  {9, true},  {10, true}};
    for (const FailureCase& c : cases) {
        ResetFake();
        Fake.starts.push_back(FakeStart{false, c.lastError, 0, false, 0});
        try {
            EXPECT_EQ(StartProgram("missing.exe", 1), 0) << c.lastError;
            EXPECT_FALSE(c.ends) << "last error " << c.lastError << " should have ended the process";
        } catch (const FakeExit& exit) {
            EXPECT_TRUE(c.ends) << "last error " << c.lastError;
            EXPECT_EQ(exit.code, 255u);
        }
        EXPECT_TRUE(Fake.closedHandles.empty());
        EXPECT_TRUE(Fake.boxes.empty());
    }
}

TEST_F(StartProgramTest, AFalseReturnWithoutAnErrorIsAStartWithProcessIdZero) {
    Fake.starts.push_back(FakeStart{false, 0, 0, false, 0});
    EXPECT_EQ(StartProgram("x.exe", 0x8001), 0);
    EXPECT_TRUE(Fake.waitedHandles.empty());  // no handle was received: none is waited on or closed
    EXPECT_TRUE(Fake.closedHandles.empty());
}

TEST_F(StartProgramTest, AStaleErrorAfterASuccessfulStartIsIgnored) {
    Fake.lastErrorAfterSuccess = 7;
    EXPECT_EQ(StartProgram("x.exe", 0), 1000);
}

}  // namespace
