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

// The environment as Windows builds a logon's: the machine's variables, then
// the system key (HKLM's Session Manager\Environment), then the logon's own
// (user name, domain, profile folders), then HKCU\Environment (each key
// expanded as it is read, the user's Path after the system's), and over all
// what WOW64 gives a 32-bit process; the variables Windows gives are taken
// from the console.
Environments ReadEnvironments();

// Makes `wanted` this process's environment: what ExpandEnvironmentStrings
// and SearchPath then see.
void UseEnvironment(const Environment& wanted);

// For entry n, judged in the logon environment: a warning where the console's
// environment expands its program otherwise, or finds a program that the
// logon's PATH does not.
void CheckConsoleEnvironment(int n, const std::string& command, bool startsAtLogon, const std::string& exePath,
                             const std::string& workingFolder, const Environments& environments, Report* report);
