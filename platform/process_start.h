// Starting a process: the one way in which the launcher starts anything.
#pragma once

#include <cstdint>
#include <string>

// SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX: around a start or a look at
// a path, a missing disk or a bad image must never put a system box ("There
// is no disk in the drive", SetErrorMode in Microsoft's documentation) in
// front of the user.
constexpr uint32_t kQuietErrorMode = 0x8001;

// Bit 15 of a style asks StartProgram to wait for the process to end.
constexpr uint32_t kWaitFlag = 0x8000;
// The low 15 bits of a style are the window show state.
constexpr uint32_t kShowMask = 0x7FFF;
// The platform's limit for a command text: 32767 characters including the
// terminating NUL, so at most 32766 characters of text.
constexpr size_t kMaxCommandLength = 32767;

// True when the platform takes `command`, seen up to its first NUL: at most
// 32766 characters. A longer command is not cut short; it does not start.
bool FitsCommandLimit(const std::string& command);

// NORMAL_PRIORITY_CLASS | CREATE_DEFAULT_ERROR_MODE. A child inherits its
// parent's error mode ("Each process has an associated error mode ... A child
// process inherits the error mode of its parent process": SetErrorMode and
// GetErrorMode in Microsoft's documentation), and StartProgram switches the
// quiet mode on around the call: without the flag every started program
// would run with critical-error boxes switched off.
constexpr uint32_t kCreationFlags = 0x00000020 | 0x04000000;

// A command over the limit is not handed to the platform at all; the record
// of starts gives it the error number Windows has for a name too long to take
// (ERROR_FILENAME_EXCED_RANGE).
constexpr uint32_t kCommandTooLong = 206;

// What became of one start, for the record of starts.
struct StartOutcome {
    bool started = false;
    bool noProcess = false;  // counted as started: the platform returned false, but with no error
    uint32_t processId = 0;
    uint32_t error = 0;  // the platform's last-error value when the start failed
    bool fatal = false;  // the error was 7, 9 or 10, and the caller is to end with 255
};

// Starts `command` (program first, as the platform is to parse it) with the
// show state and wait flag of `style`, in `folder` (empty: the launcher's own
// current folder; a relative one is handed over as written, a missing one
// fails the start). Returns the new process identifier, its exit code when
// the wait flag is set, or 0 when the start failed; `outcome`, when given,
// says which. After the fatal errors 7, 9 and 10 it ends the process with 255,
// unless `endOnFatal` is false: it then returns 0 with `outcome->fatal` set,
// and the caller ends the process once it has said so in its record.
int32_t StartProgram(const std::string& command, uint32_t style, const std::string& folder = std::string(),
                     StartOutcome* outcome = nullptr, bool endOnFatal = true);
