// Whether Windows will start an entry's program, under each working folder
// that Postpone is started in at logon, and whether its StartIn folder serves.
#pragma once

#include <string>
#include <vector>

#include "logon_starters.h"
#include "report.h"

// Warnings and notes about the program of `command` (what the copy hands to
// the platform) for entry n: found or not, what kind of file, elevation.
// False when they predict that Windows will not start it, from any working
// folder.
bool CheckProgram(int n, const std::string& command, const std::string& startIn,
                  const std::vector<WorkingFolder>& folders, const std::string& exePath, Report* report);

// A warning when entry n's StartIn folder does not exist or is relative;
// false when the start fails for it under every working folder.
bool CheckStartIn(int n, const std::string& startIn, const std::vector<WorkingFolder>& folders, Report* report);
