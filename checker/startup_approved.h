// Task Manager's Startup tab (and Settings, Apps, Startup) switches a
// starter off without deleting it: under ...\Explorer\StartupApproved\LIST,
// one binary value per starter, named as the starter is (a Startup folder's
// file name, a Run value's name), whose first byte is 2 when on and 3 when
// off, followed by the time it was switched (a FILETIME). The Run keys that
// Windows reads at logon are listed here once, for the readers and the
// writer of those switches alike.
#pragma once

#include <string>
#include <vector>

#include "registry.h"

extern const char kRunSubkey[];  // Software\Microsoft\Windows\CurrentVersion\Run

struct RunKey {
    OsRegistryRoot root;
    OsRegistryView view;
    const char* name;      // as the report says it
    const char* approved;  // its list under StartupApproved
};

// HKCU\Software is one for both views; HKLM's Run has a 32-bit twin.
constexpr int kRunKeyCount = 3;
extern const RunKey kRunKeys[kRunKeyCount];

// The Run keys this Windows has: 32-bit Windows has one registry view, and
// HKLM's 32-bit twin is the same key there, read once.
std::vector<RunKey> RunKeysOfThisWindows();

// The list of a Startup folder's files.
extern const char kStartupFolderList[];

// The subkey of a list's switches.
std::string StartupApprovedSubkey(const std::string& list);

// True when the starter `name` of `list` under `root` is switched off (its
// switch's first byte odd), looked for in both views; `readWhole` is cleared
// when the switches could not all be read.
bool SwitchedOff(OsRegistryRoot root, const std::string& list, const std::string& name, bool* readWhole);
