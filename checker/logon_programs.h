// Every program Windows starts at logon from the places postpone-check reads
// (the user's and the common Startup folder, the Run keys of HKCU and of
// HKLM in both views), as Windows runs it: what the report lists under "also
// started at logon", and what postpone-check /add takes over. Scheduled
// tasks, services and Store apps are not among them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "registry.h"

struct LogonProgram {
    std::string origin;        // the shortcut's or file's path, or "the value NAME of KEY"
    OsRegistryRoot root = OsRegistryRoot::CurrentUser;  // where its switch lives
    std::string approvedList;  // its list under StartupApproved
    std::string approvedName;  // its name there
    // The command as Windows runs it: the program (variables expanded with
    // the 64-bit folder names, as 64-bit Explorer means them), its
    // arguments, its folder (empty: none given) and its show state (0 to 6).
    std::string program;
    std::string arguments;
    std::string folder;
    int32_t show = 1;
    bool switchedOff = false;
    std::string whyNot;  // why Postpone cannot start it in the original's place; empty when it can
};

// The programs in the order the report numbers them (Postpone itself left
// out).
std::vector<LogonProgram> ListLogonPrograms(const std::string& exePath);

// The command of a shortcut or a program at `path` that is in no list (for
// /add PATH), with `arguments` for a program; false when a shortcut cannot
// be read.
bool ReadProgramAt(const std::string& path, const std::string& arguments, LogonProgram* program);

// A shortcut's show state ("Run": normal, minimised, maximised) as a
// WndStyle: SW_SHOWMINNOACTIVE, which Explorer writes for "Minimised" (and
// SW_SHOWMINIMIZED, which the shell-link interface gives for it), is 6,
// minimised without the focus; anything but maximised else is normal.
int32_t ShowStateOfShortcut(int32_t showCommand);
