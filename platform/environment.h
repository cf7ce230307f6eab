// The process's own environment block: only the settings checker reads and
// changes it, to judge entries with the environment a logon gives (the
// launcher reaches the environment through ExpandEnvironmentStringsA alone).
#pragma once

#include <string>
#include <utility>
#include <vector>

// Every variable of this process, as (name, value), in the block's order.
// Names that start with "=" (the current folders of drives) are left out.
std::vector<std::pair<std::string, std::string>> OsEnvironmentVariables();

// Sets `name` to `value` in this process's environment; removes it when
// `value` is null.
void OsSetEnvironmentVariable(const char* name, const char* value);
