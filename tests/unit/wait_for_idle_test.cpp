// The wait for a quiet machine (WaitIdle), through the double's processor
// figures second by second: when the copy starts its program, what it
// records, and that the copies take turns.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "launcher_test.h"
#include "wait_for_idle.h"

namespace {

struct IdleCase {
    const char* what;
    std::vector<int> busy;  // the processor's use, second by second from the end of the delay
    int32_t percent;
    int64_t startsAt;       // seconds after the delay ended
    std::string recorded;   // the record's wait field
    uint64_t counterBase = 0;
    std::vector<std::pair<int64_t, int64_t>> otherTurns = {};  // ms after the delay ended
};

// `seconds` busy seconds, then `after` for good.
std::vector<int> Then(std::vector<int> seconds, int after) {
    seconds.push_back(after);
    return seconds;
}

TEST_F(LauncherTest, ACopyWaitingForAQuietMachineStartsOnceTheProcessorHasStayedBelowItsPercentage) {
    const int64_t end = TimeOfDay(10, 0, 30);  // the delay of 30 s ends
    const std::vector<IdleCase> cases = {
        {"quiet at once", {5}, 20, 5, "quiet after 5 s"},
        {"quiet after 12 s", Then(std::vector<int>(12, 90), 5), 20, 17, "quiet after 17 s"},
        {"one quiet second among busy ones is not enough", {90, 90, 5, 90, 5}, 20, 9, "quiet after 9 s"},
        {"never quiet: at the limit", {90}, 20, 60, "still busy after 60 s"},
        {"exactly at the threshold is busy", {20}, 20, 60, "still busy after 60 s"},
        {"counters that wrap", {5}, 20, 5, "quiet after 5 s", UINT64_MAX - 25000000},
        // Another copy starts its program at 3 s: the quiet seconds count afresh.
        {"another copy starts", {5}, 20, 9, "quiet after 9 s", 0, {{3000, 5000}}},
        // Its holder ended half-way through: the turn goes with it.
        {"another copy ended half-way", {5}, 20, 6, "quiet after 6 s", 0, {{1000, 1500}}},
        // At the limit the turn is another's: the next second, not the same.
        {"the turn taken at the limit", {90}, 20, 61, "still busy after 61 s", 0, {{59500, 61000}}},
    };
    for (const IdleCase& c : cases) {
        ResetFake();
        ResetGlobals();
        Fake.files["c:\\tools"].folder = true;
        Fake.clockMs = TimeOfDay(10, 0, 0);
        // Busy while the copy sleeps out its delay, which it does not look at.
        Fake.processorFrom = Fake.clockMs;
        Fake.processorBusy = std::vector<int>(30, 90);
        Fake.processorBusy.insert(Fake.processorBusy.end(), c.busy.begin(), c.busy.end());
        Fake.processorBase = c.counterBase;
        for (const auto& span : c.otherTurns) Fake.otherTurns.push_back({end + span.first, end + span.second});
        const uint32_t code = RunProcessWith("C:\\Tools\\Postpone.exe /E /P:a.exe /D:30 /I:" + std::to_string(c.percent) +
                                             " /M:60 /L:c:\\tools\\p.log /N:1 /T:36000");
        ASSERT_EQ(Fake.created.size(), 1u) << c.what;
        EXPECT_EQ(code, 1000u) << c.what;
        EXPECT_EQ(Fake.created[0].atMs - end, c.startsAt * 1000) << c.what;
        // The turn was taken once, as the program started, and let go after.
        ASSERT_EQ(Fake.turnsTaken.size(), 1u) << c.what;
        EXPECT_EQ(Fake.turnsTaken[0], Fake.created[0].atMs) << c.what;
        EXPECT_EQ(Fake.turnReleasedAt - Fake.turnsTaken[0], kTurnHoldMs) << c.what;
        EXPECT_TRUE(Fake.mutexHandles.empty()) << c.what;
        // One look a second, no more.
        EXPECT_LE(std::count(Fake.calls.begin(), Fake.calls.end(), "GetSystemTimes"), c.startsAt + 2) << c.what;
        const std::string& record = Fake.files["c:\\tools\\p.log"].start;
        EXPECT_NE(record.find("\tlate 0 s\t" + c.recorded + "\ta.exe \r\n"), std::string::npos) << c.what << record;
    }
}

TEST(ProcessorUse, IsTheBusyShareOfAllTheTimeBetweenTwoReadings) {
    // idle, kernel (the idle in it), user
    EXPECT_EQ(ProcessorUse({100, 200, 0}, {100, 200, 0}), -1);     // no time passed
    EXPECT_EQ(ProcessorUse({0, 0, 0}, {75, 100, 100}), 62);         // 125 of 200 busy
    EXPECT_EQ(ProcessorUse({0, 0, 0}, {3, 1, 1}), 0);               // more idle than all: none busy
    EXPECT_EQ(ProcessorUse({UINT64_MAX, UINT64_MAX, 0}, {9, 19, 0}), 50);  // both wrapped
}

}  // namespace
