#include "delayed_start.h"

#include "clock.h"
#include "globals.h"
#include "process_start.h"
#include "record_writer.h"
#include "text.h"
#include "launch_list.h"
#include "wait_for_idle.h"
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

namespace {

// Milliseconds as whole seconds, rounded half up, at most what 32 bits hold:
// a wait longer than 49 days says its length well enough.
int32_t WholeSeconds(uint64_t ms) {
    const uint32_t capped = ms < 0xFFFFFFFFu ? static_cast<uint32_t>(ms) : 0xFFFFFFFFu;
    return static_cast<int32_t>(capped / 1000 + (capped % 1000 >= 500 ? 1 : 0));
}

}  // namespace

int32_t RunDelayed() {
    const int64_t remaining = RemainingSeconds(NowSeconds(), StartStamp, Table.DelaySec[0]);
    // How late the start is, the copy measures by its own tick count: a
    // change to or from daylight saving time, or a clock the time service
    // sets at logon, moves the time of day but makes no start late.
    const bool records = !LogFile.empty();
    const uint32_t sleptFrom = records ? OsGetTickCount() : 0;
    SleepMilliseconds(static_cast<uint64_t>(remaining) * 1000);
    // A path the program needs: the copy waits for it after the delay, and
    // ends without starting anything, as after a failed start, when it does
    // not come.
    StartWaits waits;
    uint64_t waitedMs = 0;
    if (!Table.WaitFor[0].empty()) {
        const bool came = WaitForPath(Table.WaitFor[0], Table.WaitSec[0], &waitedMs);
        waits.pathSeconds = WholeSeconds(waitedMs);
        if (!came) {
            if (records) RecordWaitInVain(waits.pathSeconds);
            return 0;
        }
    }
    // Then a quiet machine, within what is left of the same WaitSec.
    IdleWait idle;
    if (Table.WaitIdle[0] != 0) {
        const uint64_t limitMs = static_cast<uint64_t>(WaitSecondsOf(Table.WaitSec[0])) * 1000;
        idle = WaitForQuietMachine(Table.WaitIdle[0], limitMs > waitedMs ? limitMs - waitedMs : 0);
        waits.quietSeconds = WholeSeconds(idle.waitedMs);
        waits.limitPassed = idle.limitPassed;
    }
    const std::string command = BuildTargetCommand(Table.Program[0], Table.CmdLine[0]);
    // The record is written once the copy is done, and names the moment of
    // the start (with the wait flag, the program has ended by then).
    OsLocalTime startedAt = {0, 0, 0, 0, 0, 0, 0};
    if (records) {
        OsGetLocalTime(&startedAt);
        // The difference of two readings takes the tick count's wrap out; a
        // wait of more than 49.7 days is past what it measures.
        const int64_t tookMs = static_cast<uint32_t>(OsGetTickCount() - sleptFrom);
        const int64_t askedMs = remaining * 1000 + static_cast<int64_t>(waitedMs + idle.waitedMs);
        waits.lateSeconds = tookMs > askedMs ? WholeSeconds(static_cast<uint64_t>(tookMs - askedMs)) : 0;
    }
    StartOutcome outcome;
    // With a record, a fatal error is recorded before the copy ends with 255.
    const int32_t result =
        StartProgram(command, static_cast<uint32_t>(Table.WndStyle[0]), Table.StartIn[0], &outcome, !records);
    ReleaseIdleTurn(idle.turn);
    if (records) RecordStart(startedAt, outcome, command, waits);
    if (outcome.fatal) OsExitProcess(255);
    return result;
}
