// The launch list: section "Launch" of the settings file.
#pragma once

#include <string>

// Reads entries 1 to 100 of section "Launch" of SettingsPath and appends the
// accepted ones to slots 1, 2, ... of the launch table, counting EntryCount.
void LoadLaunchList();

// Expands %NAME% environment variables in a program path and trims the
// blanks around the result. Text without "%" is returned as it is.
std::string ExpandVariables(const std::string& text);
