#include "wait_for_path.h"

#include "clock.h"
#include "platform.h"
#include "process_start.h"
#include "text.h"

namespace {

constexpr uint32_t kLookInterval = 1000;

}  // namespace

bool PathIsThere(const std::string& path) {
    const uint32_t previousMode = OsSetErrorMode(kQuietErrorMode);
    const bool there = OsGetFileAttributes(UpToNul(path).c_str()) != kNoFileAttributes;
    OsSetErrorMode(previousMode);
    return there;
}

bool WaitForPath(const std::string& path, int32_t seconds, uint64_t* waitedMs) {
    uint64_t unused = 0;
    if (waitedMs == nullptr) waitedMs = &unused;
    const uint64_t limit = seconds > 0 ? static_cast<uint64_t>(seconds) * 1000 : 0;
    // The time waited is measured, not counted in sleeps: a look at a share
    // that does not answer can itself take as long as the network
    // redirector's own time-out for one request (the SMB client's session
    // time-out, 60 s by default), and that look is the most by which the
    // wait can pass its limit. The readings are added up in differences, so
    // that the tick count's wrap after 49.7 days does not matter.
    uint64_t& waited = *waitedMs;
    waited = 0;
    uint32_t last = OsGetTickCount();
    for (;;) {
        const bool there = PathIsThere(path);
        const uint32_t now = OsGetTickCount();
        waited += static_cast<uint32_t>(now - last);
        last = now;
        if (there) return true;
        if (waited >= limit) return false;
        const uint64_t left = limit - waited;
        SleepMilliseconds(left < kLookInterval ? left : kLookInterval);
    }
}
