// List mode: one hidden execute-mode copy of the launcher per entry.
#pragma once

#include <cstdint>
#include <string>

#include <vector>

#include "launch_list.h"
#include "record_writer.h"

// `value` as one parameter of the copy's command line: enclosed in double
// quotes, with every double quote inside written twice.
std::string QuoteParameter(const std::string& value);

// The command line of the copy that runs `entry`, read back by
// ParseCommandLine into slot 0 and StartStamp exactly as written, with the
// stamp's text given (where the stamp is not known yet, a report shows a
// placeholder in its place). The folder to start in travels as /W:, the path
// to wait for as /F: with its longest wait as /M:, the wait for a quiet
// machine as /I: (with /M:, once), each written only when the entry has it,
// so that an entry without them gets the same line as before they existed. With a record of starts (`logFile`), its path travels as /L:,
// the entry's number as /N: and the run's tag as /R:, and the copy's line in
// the record names them.
std::string BuildCopyCommand(const std::string& exePath, const LaunchEntry& entry, const std::string& stampText,
                             const std::string& logFile = std::string(), const std::string& runTag = std::string());

// The same for an entry of these values alone, with the stamp as a number.
std::string BuildCopyCommand(const std::string& exePath, const std::string& program, const std::string& arguments,
                             int32_t delay, int32_t style, int32_t stamp, const std::string& startIn = std::string());

// Starts one copy for each of slots 1 to EntryCount, in slot order, each
// hidden and not waited for; a copy that does not start goes to `failures`
// (when given), for the record, which is written only once all have started.
void SpawnEntries(std::vector<CopyFailure>* failures = nullptr);
