// The names a settings file holds: its sections, the keys of [Launch], and
// which of those keys Postpone reads.
#pragma once

#include <string>
#include <vector>

#include "launch_list.h"

// The section names of SettingsPath, or the key names of one of its sections,
// in file order, as the profile reader lists them.
std::vector<std::string> ReadSectionNames();
std::vector<std::string> ReadKeyNames(const char* section);

// What Postpone makes of one key name of [Launch].
struct KeyName {
    bool read = false;     // Postpone reads it: the name of an entry's key, or LogFile
    KeyStem stem = KeyStem::Program;
    int entry = 0;         // when read; 0 for LogFile, which belongs to no entry
    std::string problem;   // when not read: why, and what to write instead
};

// Key names ignore case, as the profile reader does.
KeyName ClassifyKeyName(const std::string& name);
