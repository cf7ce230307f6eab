#include "globals.h"

#include "launch_list.h"

LaunchTable Table;
int32_t EntryCount = 0;
bool ExecuteMode = false;
int32_t StartStamp = 0;
std::string ExePath;
std::string SettingsPath;
std::string CommandTail;
std::string LogFile;
std::string RunTag;
std::vector<int32_t> SkippedEntries;

void ClearLaunchTable() {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        Table.Program[slot].clear();
        Table.CmdLine[slot].clear();
        Table.DelaySec[slot] = 0;
        Table.WndStyle[slot] = 0;
        Table.StartIn[slot].clear();
        Table.WaitFor[slot].clear();
        Table.WaitSec[slot] = kDefaultWaitSec;
        Table.WaitIdle[slot] = 0;
        Table.Number[slot] = 0;
    }
}

void ResetGlobals() {
    ClearLaunchTable();
    EntryCount = 0;
    ExecuteMode = false;
    StartStamp = 0;
    ExePath.clear();
    SettingsPath.clear();
    CommandTail.clear();
    LogFile.clear();
    RunTag.clear();
    SkippedEntries.clear();
}
