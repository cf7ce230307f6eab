// The shell's view of logon that only the settings checker reads: shortcuts
// and the Startup folders. Linked into postpone-check alone, so that
// Postpone.exe never imports the shell or COM.
#pragma once

#include <cstdint>
#include <string>

// What a shortcut (.lnk) holds: the program it starts, with its arguments,
// in its "Start in" folder (empty when it has none), each as stored: the
// target's raw path, %NAME% variables not expanded.
struct OsShellLink {
    std::string target;
    std::string arguments;
    std::string folder;
    int32_t showCommand = 1;  // its "Run" field: SW_SHOWNORMAL, SW_SHOWMAXIMIZED or SW_SHOWMINNOACTIVE
};

enum class OsShellLinkRead {
    Read,
    NoPath,         // it opens, but names no file (a Store app, a shell folder)
    NotAShortcut,   // it cannot be opened as a shortcut
    NoShell,        // the shell-link interface cannot be had (COM did not start)
};

// Reads the shortcut at `path` through the shell-link interface, without
// starting anything.
OsShellLinkRead OsReadShellLink(const char* path, OsShellLink* link);

enum class OsStartupFolder { User, Common };

// The user's or the common Startup folder; empty when the shell has none.
std::string OsGetStartupFolder(OsStartupFolder which);
