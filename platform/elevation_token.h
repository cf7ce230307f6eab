// Whether this process runs elevated: only the settings checker asks (advapi32).
#pragma once

// True when the process's token is elevated (run as administrator under User
// Account Control); false where it is not, or where Windows cannot say.
bool OsRunsElevated();
