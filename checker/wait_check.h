// What the checker says of an entry's wait for a path (WaitFor, WaitSec), and
// of a program or folder on a network share that may not be there at logon.
#pragma once

#include <string>
#include <vector>

#include "launch_list.h"
#include "logon_starters.h"
#include "report.h"

// For the entry line: empty without WaitFor; else ", waits up to 600 s for
// V:\Mail (there now)" and the like.
std::string WaitText(const LaunchEntry& entry);

// The share a path lies on ("\\server\share", or "Z:\" for a network drive),
// or "" when it is on no network share.
std::string NetworkShareOf(const std::string& path);

// A relative WaitFor, judged from each working folder; without WaitFor, a
// note for a program or StartIn on a network share.
void CheckWait(int n, const LaunchEntry& entry, const std::vector<WorkingFolder>& folders, Report* report);
