// The checker's main procedure: postpone-check [PATH].
#pragma once

#include <cstdint>
#include <string>

#include "report.h"

// The usage text that /? and -h print.
std::string CheckUsage();

// Checks the settings file that `commandTail` names (see CheckUsage) and
// builds the report; `checkerPath` is the checker's own executable. Never
// starts a program, and writes nothing unless asked to /add an entry.
// Returns the exit code.
int32_t CheckMain(const std::string& commandTail, const std::string& checkerPath, Report* report);

// Reads the platform's command line once, runs CheckMain, writes the report to
// standard output and returns the exit code.
int32_t RunChecker();
