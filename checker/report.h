// The checker's report: plain text, one fact a line, with the tally that
// decides the exit code.
#pragma once

#include <cstdint>
#include <string>

#include "launch_list.h"

struct Report {
    std::string text;  // ANSI text, lines ended by CR LF
    int starts = 0;    // entries whose program is expected to start
    int fails = 0;     // entries handed to a copy whose program Windows will not start
    int skipped = 0;   // entries that are skipped
    int warnings = 0;
    bool failed = false;  // no settings file, or one that cannot be read or checked
};

void AddLine(Report* report, const std::string& line);
void AddWarning(Report* report, const std::string& what);  // "warning: " + what
void AddError(Report* report, const std::string& what);    // "error: " + what; the check has failed

// The last line: entries that start, that fail, that are skipped; warnings.
void AddTally(Report* report);

// 0: every entry present starts and there is no warning; 1: an entry fails
// or is skipped, or there is a warning; 2: no settings file, it cannot be
// read, or no entry will start.
int32_t ExitCodeOf(const Report& report);

// "entry N: ", before every line about entry n; with a key, "entry N: KeyN: ".
std::string EntryPrefix(int n);
std::string EntryKeyPrefix(int n, KeyStem stem);

// `value` in `digits` upper-case hexadecimal digits.
std::string HexDigits(uint32_t value, int digits);

// `text` with every control character shown escaped, as <0x1B>: a value
// read from a file may hold anything, and an escape sequence must not reach
// the console.
std::string Printable(const std::string& text);
