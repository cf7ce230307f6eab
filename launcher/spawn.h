// List mode: one hidden execute-mode copy of the launcher per entry.
#pragma once

#include <cstdint>
#include <string>

// `value` as one parameter of the copy's command line: enclosed in double
// quotes, with every double quote inside written twice.
std::string QuoteParameter(const std::string& value);

// The command line of the copy that runs one entry, read back by
// ParseCommandLine into slot 0 and StartStamp exactly as written. The folder
// to start in travels as /W:, written only when there is one, so that an
// entry without it gets the same line as before the folder existed.
std::string BuildCopyCommand(const std::string& exePath, const std::string& program, const std::string& arguments,
                             int32_t delay, int32_t style, int32_t stamp, const std::string& startIn = std::string());

// The same with the stamp's text given: where the stamp is not known yet, a
// report shows a placeholder in its place.
std::string BuildCopyCommand(const std::string& exePath, const std::string& program, const std::string& arguments,
                             int32_t delay, int32_t style, const std::string& stampText,
                             const std::string& startIn = std::string());

// Starts one copy for each of slots 1 to EntryCount, in slot order, each
// hidden and not waited for.
void SpawnEntries();
