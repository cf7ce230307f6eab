// Execute mode's wait for a quiet machine (WaitIdle): after its delay (and
// its path), the copy looks at the processor once a second and starts its
// program once the machine has been quiet for a few whole seconds in a row.
// No thread, no timer, no busy loop: one sleeping copy that looks.
#pragma once

#include <cstdint>

#include "platform.h"

// The seconds in a row the processor must stay below the entry's percentage.
constexpr int32_t kQuietWindowSeconds = 5;
// A copy that took its turn holds it this long after its program started, so
// that no two copies start theirs in the same second and every other copy
// sees the start (it looks once a second) and counts its quiet seconds anew.
constexpr uint32_t kTurnHoldMs = 2000;
// The turn: a mutex of the logon session, there only while a copy starts.
extern const char kIdleTurnName[];

// The processor's use, in percent over all processors, between two readings
// of the system's times (idle, kernel with the idle in it, user); -1 when no
// time passed between them. The counters are taken modulo 2^64.
struct ProcessorTimes {
    uint64_t idle = 0;
    uint64_t kernel = 0;
    uint64_t user = 0;
};
int32_t ProcessorUse(const ProcessorTimes& before, const ProcessorTimes& after);

struct IdleWait {
    uint64_t waitedMs = 0;      // from the wait's start to its end
    bool limitPassed = false;   // the machine was still busy when the limit passed
    OsHandle turn = nullptr;    // the turn, held: hand it to ReleaseIdleTurn once the program has started
};

// Waits until the processor's use has stayed below `percent` for
// kQuietWindowSeconds looks in a row while no other copy was starting, and
// then for the turn; at most `limitMs`, after which it takes the turn as soon
// as it is free (a few seconds at most) and gives up waiting all the same.
IdleWait WaitForQuietMachine(int32_t percent, uint64_t limitMs);

// Holds the turn kTurnHoldMs longer, then lets go of it.
void ReleaseIdleTurn(OsHandle turn);
