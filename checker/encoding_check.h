// Whether Windows reads the settings file's bytes as the user wrote them.
#pragma once

#include <string>

#include "report.h"

// True when `value` holds multi-byte UTF-8 and nothing else that is not
// ASCII: text saved as UTF-8, which the ANSI code page reads garbled.
bool HoldsUtf8Text(const std::string& value);

// True when `start`, a file's first bytes, is a UTF-8 byte-order mark followed
// by a section on the same line: Windows' settings reader then reads that
// line as a name that starts with the mark, and misses the section. (After
// a comment line the mark does no harm.)
bool ByteOrderMarkHidesSection(const std::string& start);

// A warning when a value of [Launch] of SettingsPath holds UTF-8 text while
// the ANSI code page is not UTF-8.
void CheckEncoding(Report* report);
