// The time-of-day clock shared by list mode and its execute-mode copies.
#pragma once

#include <cstdint>

#include "platform.h"

constexpr int32_t kSecondsPerDay = 86400;

// The local time of day in whole seconds, rounded to the nearest second with
// ties to even: 0 to 86400 inclusive (86400 from 23:59:59.500 on).
int32_t NowSeconds();

// The same of a reading of the local time.
int32_t SecondsOfDay(const OsLocalTime& now);

// Sleeps for `milliseconds` in full, however long: the platform's own sleep
// takes at most one value below its INFINITE, so longer waits go in pieces.
void SleepMilliseconds(uint64_t milliseconds);
