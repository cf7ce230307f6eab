#include <string>
#include <vector>

#include "clock.h"
#include "delayed_start.h"
#include "launcher_test.h"

namespace {

struct ClockCase {
    int64_t timeOfDay;
    int32_t seconds;
};

TEST_F(LauncherTest, NowSecondsRoundsToTheNearestSecondWithTiesToEven) {
    const std::vector<ClockCase> cases = {
        {TimeOfDay(10, 0, 0, 0), 36000},   {TimeOfDay(10, 0, 0, 499), 36000},
        {TimeOfDay(10, 0, 0, 500), 36000}, {TimeOfDay(10, 0, 0, 501), 36001},
        {TimeOfDay(10, 0, 1, 500), 36002}, {TimeOfDay(23, 59, 59, 600), 86400},
        {TimeOfDay(23, 59, 59, 500), 86400}, {TimeOfDay(0, 0, 0, 100), 0},
    };
    for (const ClockCase& c : cases) {
        Fake.clockMs = c.timeOfDay;
        EXPECT_EQ(NowSeconds(), c.seconds) << c.timeOfDay << " ms";
    }
}

struct SleepCase {
    int32_t now;
    int32_t stamp;
    int32_t delay;
    int64_t remaining;
};

TEST(RemainingSeconds, CountsTheDelayFromTheStamp) {
    const std::vector<SleepCase> cases = {
        {36004, 36000, 30, 26},
        {36009, 36000, 5, 0},           // more time has passed than the delay
        {36000, 0, 30, 0},              // no stamp: the whole day has passed
        {36000, 36000, -5, 0},          // a negative delay starts at once
        {5, 86390, 30, 15},             // stamped before midnight: the day is not lost
        {0, 86400, 3, 3},               // the stamp 86400 is midnight itself
        {36000, 79199, 10, 43209},      // 43199 s ahead: kept as a stamp in the future
        {36000, 79200, 10, 43210},      // exactly half a day ahead: still kept
        {36000, 79201, 10, 0},          // more than half a day ahead: yesterday's stamp
        {0, 0, 2147483647, 2147483647},
        {86400, -2147483647 - 1, 30, 0},  // no wrap-around for a stamp typed by hand
        {36001, 36000, -2147483647 - 1, 0},  // nor for the lowest delay: at once, not in 68 years
    };
    for (const SleepCase& c : cases) {
        EXPECT_EQ(RemainingSeconds(c.now, c.stamp, c.delay), c.remaining)
            << "now " << c.now << " stamp " << c.stamp << " delay " << c.delay;
    }
}

TEST(BuildTargetCommand, QuotesAProgramWithABlankAndKeepsTheBlankBeforeTheArguments) {
    EXPECT_EQ(BuildTargetCommand("c:\\tools\\a.exe", ""), "c:\\tools\\a.exe ");
    EXPECT_EQ(BuildTargetCommand("c:\\tools\\a.exe", "-q x"), "c:\\tools\\a.exe -q x");
    EXPECT_EQ(BuildTargetCommand("c:\\my tools\\x.exe", "args"), "\"c:\\my tools\\x.exe\" args");
    EXPECT_EQ(BuildTargetCommand("\"c:\\my tools\\x.exe\"", "args"), "\"c:\\my tools\\x.exe\" args");
    EXPECT_EQ(BuildTargetCommand("", "args"), " args");
}

using RunDelayedTest = LauncherTest;

TEST_F(RunDelayedTest, SleepsWhatIsLeftThenStartsTheProgram) {
    Fake.clockMs = TimeOfDay(10, 0, 4);
    StartStamp = 36000;
    Table.Program[0] = "c:\\tools\\a.exe";
    Table.CmdLine[0] = "-x";
    Table.DelaySec[0] = 30;
    Table.WndStyle[0] = 3;
    Table.StartIn[0] = "c:\\work dir";
    Fake.starts.push_back(FakeStart{true, 0, 4444, true, 0});
    EXPECT_EQ(RunDelayed(), 4444);
    EXPECT_EQ(Fake.created[0].folder, "c:\\work dir");
    EXPECT_EQ(Fake.sleeps, std::vector<uint32_t>{26000});
    ASSERT_EQ(Fake.created.size(), 1u);
    EXPECT_EQ(Fake.created[0].command, "c:\\tools\\a.exe -x");
    EXPECT_EQ(Fake.created[0].show, 3u);
    // The start follows the sleep.
    EXPECT_LT(std::find(Fake.calls.begin(), Fake.calls.end(), "Sleep 26000"),
              std::find(Fake.calls.begin(), Fake.calls.end(), "CreateProcess c:\\tools\\a.exe -x"));
}

TEST_F(RunDelayedTest, NoTimeLeftStillSleepsZero) {
    Fake.clockMs = TimeOfDay(10, 0, 9);
    StartStamp = 36000;
    Table.DelaySec[0] = 5;
    RunDelayed();
    EXPECT_EQ(Fake.sleeps, std::vector<uint32_t>{0});
}

struct LongSleepCase {
    int32_t delay;
    std::vector<uint32_t> sleeps;
};

TEST_F(RunDelayedTest, SleepsLongDelaysInFullInPiecesBelowInfinite) {
    const std::vector<LongSleepCase> cases = {
        {4294967, {4294967000u}},
        {4294968, {4294967294u, 706u}},
        {2147483647, {}},
    };
    for (const LongSleepCase& c : cases) {
        ResetFake();
        Fake.clockMs = TimeOfDay(0, 0, 0);
        StartStamp = 0;
        Table.DelaySec[0] = c.delay;
        RunDelayed();
        uint64_t total = 0;
        for (uint32_t piece : Fake.sleeps) {
            EXPECT_LT(piece, 0xFFFFFFFFu);
            total += piece;
        }
        EXPECT_EQ(total, static_cast<uint64_t>(c.delay) * 1000) << c.delay;
        if (!c.sleeps.empty()) EXPECT_EQ(Fake.sleeps, c.sleeps);
    }
}

TEST_F(RunDelayedTest, ReturnsTheExitCodeWhenAskedToWait) {
    Table.Program[0] = "x.exe";
    Table.WndStyle[0] = 32769;
    Fake.starts.push_back(FakeStart{true, 0, 0, true, 42});
    EXPECT_EQ(RunDelayed(), 42);
    EXPECT_EQ(Fake.created[0].show, 1u);
}

TEST_F(RunDelayedTest, AFailedStartEndsWithZeroAndShowsNothing) {
    Table.Program[0] = "missing.exe";
    Fake.starts.push_back(FakeStart{false, 2, 0, false, 0});
    EXPECT_EQ(RunDelayed(), 0);
    EXPECT_TRUE(Fake.boxes.empty());
}

}  // namespace
