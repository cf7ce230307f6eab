// Names that Windows resolves for the user but not for CreateProcess, or
// otherwise: App Paths, which Win+R and ShellExecute use and CreateProcess
// does not, and the app execution aliases in WindowsApps.
#pragma once

#include <string>

// Empty, or the hint for a bare name that CreateProcess does not find and
// App Paths (HKCU, then HKLM in both views) names.
std::string AppPathsHint(const std::string& name);

// True when `path` lies in the user's app execution alias folder,
// %LOCALAPPDATA%\Microsoft\WindowsApps.
bool IsAppExecutionAlias(const std::string& path);

// The note for an alias that a program search found.
std::string AppExecutionAliasNote(const std::string& path);
