// Execute mode: wait out what is left of slot 0's delay, then start it.
#pragma once

#include <cstdint>
#include <string>

// Seconds still to wait: the delay minus the time since StartStamp, never
// below 0. A stamp more than half a day ahead of `now` was taken before
// midnight and counts from the previous day.
int64_t RemainingSeconds(int32_t now, int32_t stamp, int32_t delay);

// Seconds from `stamp` to `now`, by the same rule.
int64_t ElapsedSeconds(int32_t now, int32_t stamp);

// The command text for the target: the program (in double quotes when it
// holds a blank and is not quoted already), one blank, then the arguments.
std::string BuildTargetCommand(const std::string& program, const std::string& arguments);

// Sleeps out the remaining delay of slot 0, waits for its WaitFor path when
// it has one, and starts its program in slot 0's folder (none: the copy's
// own); returns StartProgram's result, or 0 when the path did not come.
// With a record of starts (LogFile), it then writes what became of it.
int32_t RunDelayed();
