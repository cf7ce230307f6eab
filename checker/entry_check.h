// What the checker finds about each entry of [Launch] and its keys.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "check_target.h"
#include "logon_environment.h"
#include "logon_starters.h"
#include "record_check.h"
#include "report.h"

// One line for every entry from 1 to 100 that has at least one of its keys
// ("entry N: starts ..." or "entry N: skipped: ..."), the warnings about its
// keys and its program, judged under each of `folders` (the working folders
// Postpone starts in), and what became of it at `lastRun`; then the keys of
// [Launch] that Postpone never reads.
void CheckEntries(const CheckTarget& target, const std::vector<WorkingFolder>& folders,
                  const Environments& environments, const LastRun& lastRun, Report* report);

// A show state by name: "hidden", "normal", "minimised", ...
std::string ShowStateName(int32_t style);

// A delay as the report says it: "at once", "after 30 s", "after 90 s (1 min 30 s)".
std::string DelayText(int32_t seconds);
