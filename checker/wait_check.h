// What the checker says of an entry's wait for a path (WaitFor, WaitSec), and
// of a program or folder on a network share that may not be there at logon.
#pragma once

#include <string>
#include <vector>

#include "launch_list.h"
#include "logon_starters.h"
#include "report.h"

// For the entry line: empty without WaitFor and WaitIdle; else ", waits up to
// 600 s for V:\Mail (there now)", ", then waits until the processor is below
// 20 % for 5 s, at most 600 s, then starts it anyway" and the like.
std::string WaitText(const LaunchEntry& entry);

// A WaitIdle of entry n that is there (`present`) but no percentage from 1
// to 99: a warning that the entry does not wait for a quiet machine.
void CheckIdlePercent(int n, bool present, Report* report);

// The share a path lies on ("\\server\share", or "Z:\" for a network drive),
// or "" when it is on no network share.
std::string NetworkShareOf(const std::string& path);

// A relative WaitFor, judged from each working folder; without WaitFor, a
// note for a program or StartIn on a network share.
void CheckWait(int n, const LaunchEntry& entry, const std::vector<WorkingFolder>& folders, Report* report);
