// Which settings file to check, and for which executable.
#pragma once

#include <string>

struct CheckTarget {
    std::string exePath;       // the Postpone executable that reads the file
    std::string settingsPath;  // the settings file, a full path
};

// `argument` is a settings file, a Postpone executable under any name (its
// settings file derived as Postpone derives its own), or a folder holding a
// Postpone.exe; empty means the Postpone.exe beside the checker at
// `checkerPath`. False with `error` set when there is nothing to check.
bool ResolveTarget(const std::string& argument, const std::string& checkerPath, CheckTarget* target,
                   std::string* error);

// The full path of `path`, as the platform resolves it against the current
// folder; `path` itself when that fails.
std::string FullPath(const std::string& path);
