// The values the checker tells a user to write into the settings file. Each
// must give, written exactly as shown, the intended text: Windows' settings
// reader trims blanks around a value and strips one pair of quotes around it
// ("" or ''), and Postpone reads an empty CmdLine as a missing one.
#pragma once

#include <string>

// What to write after "Key=" for the reader to deliver `value`: `value`
// itself, or `value` in one more pair of double quotes where the reader
// would change it (a quoted path, blanks at an end). For arguments, nothing
// is written as four double quotes.
std::string WrittenValue(const std::string& value, bool arguments = false);

// "write ProgramN=... and CmdLineN=..." (", and StartInN=..." when `folder`
// is given), every value as WrittenValue makes it.
std::string WriteEntry(int n, const std::string& program, const std::string& arguments,
                       const std::string& folder = std::string());
