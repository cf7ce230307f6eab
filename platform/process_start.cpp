#include "process_start.h"

#include <vector>

#include "platform.h"

namespace {

// Last-error values after which the process's own memory or environment can
// no longer be trusted.
bool IsFatalStartError(uint32_t lastError) {
    return lastError == 7 || lastError == 9 || lastError == 10;
}

}  // namespace

bool FitsCommandLimit(const std::string& command) {
    const size_t nul = command.find('\0');
    return (nul == std::string::npos ? command.size() : nul) < kMaxCommandLength;
}

int32_t StartProgram(const std::string& command, uint32_t style, const std::string& folder, StartOutcome* outcome,
                     bool endOnFatal) {
    StartOutcome unused;
    if (outcome == nullptr) outcome = &unused;
    *outcome = StartOutcome();
    // The platform sees the text up to its first NUL, and the whole of it.
    if (!FitsCommandLimit(command)) {
        outcome->error = kCommandTooLong;
        return 0;
    }
    size_t length = command.find('\0');
    if (length == std::string::npos) length = command.size();

    // A private, writable copy: the platform may write into the command buffer.
    std::vector<char> buffer(command.data(), command.data() + length);
    buffer.push_back('\0');

    OsProcessInfo created = {nullptr, nullptr, 0};
    const uint32_t previousMode = OsSetErrorMode(kQuietErrorMode);
    OsSetLastError(0);
    const std::string currentFolder = folder.substr(0, folder.find('\0'));
    const bool started = OsCreateProcess(buffer.data(), style & kShowMask, kCreationFlags,
                                         currentFolder.empty() ? nullptr : currentFolder.c_str(), &created);
    const uint32_t lastError = OsGetLastError();
    OsSetErrorMode(previousMode);

    if (!started && lastError != 0) {
        outcome->error = lastError;
        if (IsFatalStartError(lastError)) {
            if (endOnFatal) OsExitProcess(255);
            outcome->fatal = true;
        }
        return 0;
    }
    outcome->started = true;
    outcome->noProcess = !started;
    outcome->processId = created.processId;

    int32_t result = static_cast<int32_t>(created.processId);
    if ((style & kWaitFlag) != 0 && created.process != nullptr) {
        OsWaitForProcess(created.process);
        uint32_t exitCode = 0;
        result = OsGetExitCodeProcess(created.process, &exitCode) ? static_cast<int32_t>(exitCode) : 0;
    }
    if (created.process != nullptr) OsCloseHandle(created.process);
    if (created.thread != nullptr) OsCloseHandle(created.thread);
    return result;
}
