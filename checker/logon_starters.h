// What starts this Postpone.exe at logon, and in which working folder: the
// shortcuts of the user's and the common Startup folder, Postpone.exe lying
// in one of them itself, and the Run values of HKCU and HKLM (both views).
// Scheduled tasks are not looked at.
#pragma once

#include <string>
#include <vector>

#include "report.h"

struct LogonStarter {
    std::string what;         // the shortcut's path, or the Run value
    std::string workingFolder;
    bool switchedOff = false;  // off in Task Manager's Startup tab: it does not run
    bool exeItself = false;    // Postpone.exe itself lies in a Startup folder
    std::string unreadable;    // why the shortcut or the folder could not be read: it may start Postpone
    bool switchesRead = true;  // false: Task Manager's switches could not all be read
};

std::vector<LogonStarter> FindLogonStarters(const std::string& exePath);

// A working folder under which each entry is judged, and what gives it.
struct WorkingFolder {
    std::string folder;
    std::string startedBy;  // "" when nothing found starts Postpone
};

// One line for each starter (a warning where it does not serve), and the
// working folders of those that run: Postpone's own folder, said once, when
// none does.
std::vector<WorkingFolder> ReportLogonStarters(const std::vector<LogonStarter>& starters, const std::string& exePath,
                                               const std::string& settingsPath, Report* report);
