// Starting a process: the one way in which the launcher starts anything.
#pragma once

#include <cstdint>
#include <string>

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

// Starts `command` (program first, as the platform is to parse it) with the
// show state and wait flag of `style`. Returns the new process identifier, its
// exit code when the wait flag is set, or 0 when the start failed.
int32_t StartProgram(const std::string& command, uint32_t style);
