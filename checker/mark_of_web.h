// The mark of the web: a file that a browser downloaded (or that Explorer
// unzipped from a download) carries an NTFS stream, Zone.Identifier, naming
// the zone it came from. Explorer checks it when it starts the file
// (SmartScreen, "Open File - Security Warning"), also for a Startup shortcut
// at logon; CreateProcess, through which Postpone starts its programs, does
// not.
#pragma once

#include <cstdint>
#include <string>

#include "report.h"

// The zone of a Zone.Identifier stream's text: the ZoneId value of its
// [ZoneTransfer] section, -1 when it has none.
int32_t ZoneOfStream(const std::string& text);

// For a program at `path` (`what` says which, as the report names it): a
// warning where it is marked as downloaded from the internet (zone 3) or an
// untrusted site (zone 4), with the remedy.
void CheckMarkOfTheWeb(const std::string& path, const std::string& what, bool startedByExplorer, Report* report);
