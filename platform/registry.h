// Reading the registry: only the settings checker does (the Run keys, the
// switches of Task Manager's Startup tab, the compatibility layers).
// Postpone.exe keeps to kernel32 and never links this.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class OsRegistryRoot { CurrentUser, LocalMachine };

// A 32-bit process sees the 32-bit view of HKLM\Software unless it asks for
// the other one: both are read where both matter.
enum class OsRegistryView { Bits64, Bits32 };

constexpr uint32_t kRegistryText = 1;          // REG_SZ
constexpr uint32_t kRegistryExpandedText = 2;  // REG_EXPAND_SZ
constexpr uint32_t kRegistryBinary = 3;        // REG_BINARY

struct OsRegistryValue {
    std::string name;
    uint32_t type = 0;
    std::string data;  // text without its terminating NUL, or the bytes
};

enum class OsRegistryRead {
    Read,
    Missing,     // the key is not there (or may not be opened): no values
    Unreadable,  // it opened, but its values could not be read to the end
};

// Every value of `subkey` under `root` in `view`.
OsRegistryRead OsReadRegistryValues(OsRegistryRoot root, const char* subkey, OsRegistryView view,
                                    std::vector<OsRegistryValue>* values);

// Writes the binary value `name` of `subkey` (made when missing) under `root`
// in `view`: what postpone-check /add writes to switch a starter off, as Task
// Manager does. The platform's error (5: no right to write there) or 0.
uint32_t OsWriteRegistryBinary(OsRegistryRoot root, const char* subkey, OsRegistryView view, const char* name,
                               const std::string& data);

// The time now as a FILETIME (GetSystemTimeAsFileTime): a switch names when
// it was set.
uint64_t OsFileTimeNow();
