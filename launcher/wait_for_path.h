// Execute mode's wait for the path an entry needs (WaitFor): a volume opened
// by hand, a network drive Windows reconnects after the desktop shows, a USB
// disk. The copy that sleeps out the delay looks for it; nothing else runs.
#pragma once

#include <cstdint>
#include <string>

// True when `path` (a file, a folder or a drive's root) is there now, as the
// file attributes query sees it, asked in the quiet error mode: a drive with
// no medium or a disconnected network drive raises no system box.
bool PathIsThere(const std::string& path);

// Looks for `path` at once and then about once a second, for at most
// `seconds` (0 or less: one look). True as soon as it is there; false when
// the time has passed without it. `waitedMs`, when given, receives the time
// waited.
bool WaitForPath(const std::string& path, int32_t seconds, uint64_t* waitedMs = nullptr);
