#include "delayed_start.h"

#include "clock.h"
#include "globals.h"
#include "process_start.h"
#include "text.h"
#include "wait_for_path.h"

namespace {

constexpr int64_t kHalfDay = kSecondsPerDay / 2;

}  // namespace

int64_t RemainingSeconds(int32_t now, int32_t stamp, int32_t delay) {
    // In 64 bits, so that no stamp or delay a user may type can wrap around.
    int64_t elapsed = static_cast<int64_t>(now) - stamp;
    if (elapsed < -kHalfDay) elapsed += kSecondsPerDay;
    const int64_t remaining = delay - elapsed;
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
    if (!Table.WaitFor[0].empty() && !WaitForPath(Table.WaitFor[0], Table.WaitSec[0])) return 0;
    return StartProgram(BuildTargetCommand(Table.Program[0], Table.CmdLine[0]),
                        static_cast<uint32_t>(Table.WndStyle[0]), Table.StartIn[0]);
}
