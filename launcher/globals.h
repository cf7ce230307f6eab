// The launcher's global state: created before the main procedure runs and
// kept until the process ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Slot 0 is the command-line entry; slots 1 to 100 the settings-file entries.
// Slot 101 exists but is never used.
constexpr int kSlotCount = 102;
constexpr int kMaxEntries = 100;

struct LaunchTable {
    std::string Program[kSlotCount];
    std::string CmdLine[kSlotCount];
    int32_t DelaySec[kSlotCount];
    int32_t WndStyle[kSlotCount];
    std::string StartIn[kSlotCount];  // the folder the program starts in; empty: inherited
    std::string WaitFor[kSlotCount];  // a path to wait for after the delay; empty: none
    int32_t WaitSec[kSlotCount];      // the longest wait for it, in seconds (600 unless given)
    int32_t WaitIdle[kSlotCount];     // 1 to 99: waits for the processor below it after that; 0: none
    int32_t Number[kSlotCount];       // the entry's number in the settings file (slot 0: from /N:)
};

extern LaunchTable Table;
extern int32_t EntryCount;     // settings-file entries accepted, 0 to 100
extern bool ExecuteMode;       // set by /E
extern int32_t StartStamp;     // the second of the day passed with /T:
extern std::string ExePath;    // the running executable's full path
extern std::string SettingsPath;
extern std::string CommandTail;  // the command line without the executable's name
extern std::string LogFile;      // the record of starts (LogFile, or /L: in a copy); empty: none
extern std::string RunTag;       // the tag of list mode's run in the record (its own, or /R: in a copy)
extern std::vector<int32_t> SkippedEntries;  // the numbers of the entries list mode skipped

// Empties every slot of the launch table.
void ClearLaunchTable();

// Empties the launch table and puts every global back to its initial value.
void ResetGlobals();
