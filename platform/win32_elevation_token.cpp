// The wrapper of elevation_token.h over the process token (advapi32).
#include "elevation_token.h"

#include <windows.h>

bool OsRunsElevated() {
    // The elevated half of a split token: an administrator's process that
    // User Account Control elevated, which has a logon session (and drive
    // mappings) of its own. Without UAC there is one token, of type
    // TokenElevationTypeDefault ("The token does not have a linked token",
    // TOKEN_ELEVATION_TYPE in Microsoft's documentation), and one set of
    // mappings. Wine gives every process an elevated token of that type,
    // with one set of drives for all: there is nothing to say under it (its
    // ntdll exports wine_get_version).
    if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr) return false;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    const BOOL read = GetTokenInformation(token, TokenElevationType, &type, sizeof type, &size);
    CloseHandle(token);
    return read && type == TokenElevationTypeFull;
}
