// The buffers of one registry value read by RegEnumValueA, and how they grow:
// apart from the Win32 file, so that the rule is tested on the host.
#pragma once

#include <cstdint>

// The ANSI function hands the name through a counted string whose length is
// a SHORT: a name buffer of more than 32767 bytes is never filled (a value
// name is at most 16383 characters, "Registry Element Size Limits",
// Microsoft's documentation; in a double-byte or UTF-8 code page that many
// characters take up to twice as many bytes).
constexpr uint32_t kLargestValueName = 32767;
// Past this a value is taken as unreadable rather than read.
constexpr uint32_t kLargestValueData = 1u << 26;

struct RegistryBuffers {
    uint32_t name;  // bytes, the NUL included
    uint32_t data;  // bytes
};

// The buffers for a key whose longest name has `longestName` characters and
// whose longest data `longestData` bytes (RegQueryInfoKeyA).
RegistryBuffers FirstRegistryBuffers(uint32_t longestName, uint32_t longestData);

// After ERROR_MORE_DATA: "If the buffer specified by lpData is not large
// enough ... the function returns ERROR_MORE_DATA and stores the required
// buffer size in the variable pointed to by lpcbData" (RegEnumValueA). Where
// the data is what was short, only its buffer grows, to `dataNeeded`; else
// the name's was, and only it grows, up to kLargestValueName. False when
// neither can grow: the value cannot be read.
bool GrowRegistryBuffers(RegistryBuffers* buffers, uint32_t dataNeeded);
