// The environment a logon gives Postpone, which is not always the one of the
// console the checker runs in (a developer prompt, a conda or Git shell, a
// "set" typed by hand): entries are judged in it, and where the console's
// own gives another result, that is said.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "report.h"

using Environment = std::vector<std::pair<std::string, std::string>>;

struct Environments {
    Environment console;  // this process's, as it started
    Environment logon;    // what a logon gives: equal to `console` where the registry says nothing
};

// The user's and the system's variables from the registry (HKLM's Session
// Manager\Environment, then HKCU\Environment, each expanded as it is read,
// the user's Path after the system's), over the variables Windows gives
// every process of a logon, taken from the console.
Environments ReadEnvironments();

// Makes `wanted` this process's environment: what ExpandEnvironmentStrings
// and SearchPath then see.
void UseEnvironment(const Environment& wanted);

// For entry n, judged in the logon environment: a warning where the console's
// environment expands its program otherwise, or finds a program that the
// logon's PATH does not.
void CheckConsoleEnvironment(int n, const std::string& command, bool startsAtLogon, const std::string& exePath,
                             const std::string& workingFolder, const Environments& environments, Report* report);
