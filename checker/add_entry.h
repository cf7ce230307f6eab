// postpone-check /add: one program that starts at logon (from the report's
// list, or a program or shortcut given by its path) becomes an entry of the
// settings file, written so that the settings reader gives back exactly the
// command Windows ran, and the original is switched off as Task Manager
// does it. The only part of the checker that changes anything: the settings
// file (settings_writer) and the switch (startup_switch).
#pragma once

#include <cstdint>
#include <string>

#include "check_target.h"
#include "report.h"

// The delay of an added entry when /delay: is not given.
constexpr int32_t kDefaultAddDelay = 60;
// The exit code of an /add that was refused: nothing was changed.
constexpr int32_t kAddRefused = 3;

struct AddRequest {
    bool asked = false;
    std::string what;       // N, or the path of a program or a shortcut
    std::string arguments;  // for a program's path: its arguments, as typed
    int32_t delay = kDefaultAddDelay;
};

// Adds the entry and switches the original off; true when the entry was
// written. What was done, or why nothing was, is said in `report`.
bool AddEntry(const AddRequest& request, const CheckTarget& target, Report* report);
