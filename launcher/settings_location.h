// Finding the settings file beside the executable.
#pragma once

#include <string>

#include "platform.h"

// The file name of a module (0: the running executable), whole however long.
std::string ModuleFileName(OsHandle module);

// The settings path of an executable path: lower-cased, with a final ".exe"
// changed to ".ini". A path that does not end in ".exe" stays as it is.
std::string SettingsPathFor(const std::string& exePath);

// True when the platform's file search finds `path` (one trailing backslash
// dropped): a file, a folder, or any match of a wildcard.
bool PathExists(std::string path);

// Sets ExePath and SettingsPath from the module's file name and returns true
// when the settings file is there.
bool LocateSettings(OsHandle module);
