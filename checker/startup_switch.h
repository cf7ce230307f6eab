// Switching off a program that starts at logon, as Task Manager's Startup
// tab does it: its StartupApproved value (startup_approved.h) set to 3 and
// the time, never deleting the original, so that the user can switch it on
// again in Task Manager or in Settings, Apps, Startup. postpone-check /add
// alone writes it.
#pragma once

#include <string>

#include "logon_programs.h"

// The twelve bytes of a switch that is off: 03 00 00 00, then the FILETIME.
std::string SwitchedOffValue(uint64_t fileTime);

// 0, or the platform's error (5: the switch lies under HKLM, which takes
// administrator rights).
uint32_t SwitchOff(const LogonProgram& program);
