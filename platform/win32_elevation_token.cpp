// The wrapper of elevation_token.h over the process token (advapi32).
#include "elevation_token.h"

#include <windows.h>

bool OsRunsElevated() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    TOKEN_ELEVATION elevation = {0};
    DWORD size = 0;
    const BOOL read = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
    CloseHandle(token);
    return read && elevation.TokenIsElevated != 0;
}
