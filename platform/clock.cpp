#include "clock.h"

#include "platform.h"

namespace {

// The largest single sleep: one below the platform's INFINITE (0xFFFFFFFF).
constexpr uint64_t kLongestSleep = 0xFFFFFFFEu;

}  // namespace

int32_t NowSeconds() {
    OsLocalTime now = {0, 0, 0, 0, 0, 0, 0};
    OsGetLocalTime(&now);
    return SecondsOfDay(now);
}

int32_t SecondsOfDay(const OsLocalTime& now) {
    const int32_t msOfDay = now.hour * 3600000 + now.minute * 60000 + now.second * 1000 + now.milliseconds;
    // Round ms / 1000 half to even; the integers give the exact result that
    // the floating-point division and rounding would.
    int32_t seconds = msOfDay / 1000;
    const int32_t rest = msOfDay % 1000;
    if (rest > 500 || (rest == 500 && seconds % 2 != 0)) ++seconds;
    return seconds;
}

void SleepMilliseconds(uint64_t milliseconds) {
    do {
        const uint64_t piece = milliseconds < kLongestSleep ? milliseconds : kLongestSleep;
        OsSleep(static_cast<uint32_t>(piece));
        milliseconds -= piece;
    } while (milliseconds > 0);
}
