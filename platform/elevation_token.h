// Whether this process runs elevated: only the settings checker asks (advapi32).
#pragma once

// True when User Account Control elevated this process (run as
// administrator): it then sees the mapped drives of another logon session.
// False where it did not, where there is no UAC, or where Windows cannot say.
bool OsRunsElevated();
