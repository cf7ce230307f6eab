/* The wall-clock time in Unix milliseconds, comparable with the test
 * scripts' own clock under Wine. */
#pragma once

#include <windows.h>

static unsigned long long UnixMilliseconds(void) {
    FILETIME now;
    ULARGE_INTEGER ticks;
    GetSystemTimeAsFileTime(&now);
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    return ticks.QuadPart / 10000ULL - 11644473600000ULL;
}
