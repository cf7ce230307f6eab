#include "delayed_start.h"

#include "clock.h"
#include "globals.h"
#include "process_start.h"
#include "record_writer.h"
#include "text.h"
#include "wait_for_path.h"

namespace {

constexpr int64_t kHalfDay = kSecondsPerDay / 2;

}  // namespace

int64_t ElapsedSeconds(int32_t now, int32_t stamp) {
    // In 64 bits, so that no stamp a user may type can wrap around.
    const int64_t elapsed = static_cast<int64_t>(now) - stamp;
    return elapsed < -kHalfDay ? elapsed + kSecondsPerDay : elapsed;
}

int64_t RemainingSeconds(int32_t now, int32_t stamp, int32_t delay) {
    const int64_t remaining = delay - ElapsedSeconds(now, stamp);
    return remaining < 0 ? 0 : remaining;
}

std::string BuildTargetCommand(const std::string& program, const std::string& arguments) {
    const bool needsQuotes = HoldsBlank(program) && program[0] != '"';
    const std::string head = needsQuotes ? "\"" + program + "\"" : program;
    return head + " " + arguments;
}

int32_t RunDelayed() {
    const int64_t remaining = RemainingSeconds(NowSeconds(), StartStamp, Table.DelaySec[0]);
    SleepMilliseconds(static_cast<uint64_t>(remaining) * 1000);
    // A path the program needs: the copy waits for it after the delay, and
    // ends without starting anything, as after a failed start, when it does
    // not come.
    const bool records = !LogFile.empty();
    int32_t waitedSeconds = -1;
    if (!Table.WaitFor[0].empty()) {
        uint64_t waitedMs = 0;
        const bool came = WaitForPath(Table.WaitFor[0], Table.WaitSec[0], &waitedMs);
        // In 32 bits: a wait longer than 49 days says its length well enough.
        const uint32_t ms = waitedMs < 0xFFFFFFFFu ? static_cast<uint32_t>(waitedMs) : 0xFFFFFFFFu;
        waitedSeconds = static_cast<int32_t>(ms / 1000 + (ms % 1000 >= 500 ? 1 : 0));
        if (!came) {
            if (records) RecordWaitInVain(waitedSeconds);
            return 0;
        }
    }
    const std::string command = BuildTargetCommand(Table.Program[0], Table.CmdLine[0]);
    // The record is written once the copy is done, and names the moment of
    // the start (with the wait flag, the program has ended by then).
    OsLocalTime startedAt = {0, 0, 0, 0, 0, 0, 0};
    if (records) OsGetLocalTime(&startedAt);
    StartOutcome outcome;
    const int32_t result =
        StartProgram(command, static_cast<uint32_t>(Table.WndStyle[0]), Table.StartIn[0], &outcome);
    if (records) RecordStart(startedAt, outcome, command, waitedSeconds);
    return result;
}
