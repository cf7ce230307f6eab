#include "wait_for_idle.h"

#include <cstdint>

#include "clock.h"

const char kIdleTurnName[] = "Local\\Postpone.WaitIdle";

namespace {

constexpr uint32_t kLookInterval = 1000;

bool ReadTimes(ProcessorTimes* times) {
    return OsGetSystemTimes(&times->idle, &times->kernel, &times->user);
}

// Another copy is starting its program (or has just started it): the turn
// is there. Its handle is closed at once: a copy that waits holds nothing,
// and the turn goes with the last copy that holds it, a copy ended half-way
// included.
bool AnotherCopyStarts() {
    const OsHandle turn = OsOpenMutex(kIdleTurnName);
    if (turn == nullptr) return false;
    OsCloseHandle(turn);
    return true;
}

// The turn, or null when another copy has it. Where the mutex cannot be
// made at all, the copy goes on without it (a handle that cannot be had must
// not keep a program from starting): a non-null handle it never owned is not
// returned.
OsHandle TakeTurn(bool* taken) {
    bool existed = false;
    const OsHandle turn = OsCreateOwnedMutex(kIdleTurnName, &existed);
    *taken = turn == nullptr || !existed;
    if (turn != nullptr && existed) {
        OsCloseHandle(turn);
        return nullptr;
    }
    return turn;
}

}  // namespace

int32_t ProcessorUse(const ProcessorTimes& before, const ProcessorTimes& after) {
    // Unsigned differences: a counter that wrapped still gives its step.
    const uint64_t idle = after.idle - before.idle;
    const uint64_t total = (after.kernel - before.kernel) + (after.user - before.user);
    if (total == 0) return -1;
    const uint64_t busy = idle < total ? total - idle : 0;
    // busy * 100 / total, without overflow however long the step.
    const uint64_t percent = busy <= UINT64_MAX / 100 ? busy * 100 / total : busy / (total / 100);
    return static_cast<int32_t>(percent < 100 ? percent : 100);
}

IdleWait WaitForQuietMachine(int32_t percent, uint64_t limitMs) {
    IdleWait wait;
    ProcessorTimes last;
    const bool measured = ReadTimes(&last);
    uint32_t lastTick = OsGetTickCount();
    int32_t quietSeconds = 0;
    // A machine whose times cannot be read is never found quiet: the wait
    // then ends at its limit, as on a machine that stays busy.
    while (wait.waitedMs < limitMs) {
        const uint64_t left = limitMs - wait.waitedMs;
        SleepMilliseconds(left < kLookInterval ? left : kLookInterval);
        ProcessorTimes now;
        const bool read = measured && ReadTimes(&now);
        const uint32_t tick = OsGetTickCount();
        wait.waitedMs += static_cast<uint32_t>(tick - lastTick);
        lastTick = tick;
        const int32_t use = read ? ProcessorUse(last, now) : -1;
        if (read) last = now;
        // The program another copy has just started is what makes the
        // machine busy again: the quiet seconds count afresh from its start.
        if (AnotherCopyStarts() || use < 0 || use >= percent) {
            quietSeconds = 0;
            continue;
        }
        if (++quietSeconds < kQuietWindowSeconds) continue;
        bool taken = false;
        wait.turn = TakeTurn(&taken);
        if (taken) return wait;
        quietSeconds = 0;
    }
    // Still busy at the limit: a busy machine is no reason not to start the
    // program, but two copies still do not start theirs in the same second.
    wait.limitPassed = true;
    for (uint32_t tried = 0;; tried += kLookInterval) {
        bool taken = false;
        wait.turn = TakeTurn(&taken);
        if (taken || tried > kTurnHoldMs) break;
        SleepMilliseconds(kLookInterval);
    }
    wait.waitedMs += static_cast<uint32_t>(OsGetTickCount() - lastTick);
    return wait;
}

void ReleaseIdleTurn(OsHandle turn) {
    if (turn == nullptr) return;
    SleepMilliseconds(kTurnHoldMs);
    OsReleaseMutex(turn);
    OsCloseHandle(turn);
}
