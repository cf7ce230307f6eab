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

struct WaitCase {
    const char* what;
    int32_t waitSec;
    int64_t appearsAfterMs;  // from the end of the delay; -1: never
    int64_t lookMs;          // how long one look takes
    bool starts;
    size_t looks;
    uint64_t sleptMs;  // after the delay
};

TEST_F(RunDelayedTest, WaitsForItsPathAfterTheDelayLookingAboutOnceASecond) {
    const std::vector<WaitCase> cases = {
        {"there at once", 600, 0, 0, true, 1, 0},
        {"appears after 3 looks", 600, 2500, 0, true, 4, 3000},
        {"never: 6 looks in 5 s", 5, -1, 0, false, 6, 5000},
        {"WaitSec 0 looks once", 0, -1, 0, false, 1, 0},
        {"a negative wait looks once", -7, 1000, 0, false, 1, 0},
        {"a look that hangs 30 s ends the wait after it", 10, -1, 30000, false, 1, 0},
        {"slow looks count towards the limit", 3, -1, 400, false, 3, 2000},
    };
    for (const WaitCase& c : cases) {
        ResetFake();
        ResetGlobals();
        Fake.clockMs = TimeOfDay(10, 0, 0);
        Fake.tickOffset = 0xFFFFF000u;  // the tick count wraps during the wait
        StartStamp = 36000;
        Table.DelaySec[0] = 20;
        Table.Program[0] = "mail.exe";
        Table.WaitFor[0] = "V:\\Mail";
        Table.WaitSec[0] = c.waitSec;
        Fake.lookMs = c.lookMs;
        if (c.appearsAfterMs >= 0) Fake.pathsAppearAt["V:\\Mail"] = TimeOfDay(10, 0, 20) + c.appearsAfterMs;
        Fake.starts.push_back(FakeStart{true, 0, 4444, true, 0});

        EXPECT_EQ(RunDelayed(), c.starts ? 4444 : 0) << c.what;
        EXPECT_EQ(Fake.created.size(), c.starts ? 1u : 0u) << c.what;
        EXPECT_EQ(Fake.lookErrorModes, std::vector<uint32_t>(c.looks, 0x8001)) << c.what;  // never a box
        ASSERT_FALSE(Fake.sleeps.empty());
        EXPECT_EQ(Fake.sleeps[0], 20000u) << c.what;  // the delay comes first
        uint64_t slept = 0;
        for (size_t i = 1; i < Fake.sleeps.size(); ++i) {
            EXPECT_LE(Fake.sleeps[i], 1000u) << c.what;
            slept += Fake.sleeps[i];
        }
        EXPECT_EQ(slept, c.sleptMs) << c.what;
        EXPECT_EQ(Fake.errorMode, 0u) << c.what;  // put back after each look
    }
}

}  // namespace
