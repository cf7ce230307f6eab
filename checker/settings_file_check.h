// What the checker finds about the settings file as a whole.
#pragma once

#include "check_target.h"
#include "report.h"

// Reports which file is read for which executable, and the findings about the
// file itself: missing, a folder, unreadable, a UTF-8 byte-order mark, no
// [Launch] section. False when its entries cannot be checked.
bool CheckSettingsFile(const CheckTarget& target, Report* report);
