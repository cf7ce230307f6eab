// What the settings checker reads from a program file without running it, and
// whether it runs as a 32-bit process on 64-bit Windows. Kernel32 alone.
#pragma once

#include <cstdint>
#include <string>

// The program's application manifest (its RT_MANIFEST resource number 1), as
// text; empty when it has none or the file cannot be loaded as an image.
std::string OsReadManifest(const char* path);

// True when this 32-bit process runs under WOW64, where System32 and
// %ProgramFiles% are redirected to their 32-bit counterparts.
bool OsRunsUnderWow64();

// The machine type Windows itself runs on (a PE machine type: 0x014C x86,
// 0x8664 x64, 0xAA64 ARM64), whatever this process is built for.
uint16_t OsNativeMachine();

// True on 64-bit Windows, where HKLM\Software has a 32-bit view of its own;
// on 32-bit Windows both views are the one key.
bool OsHasTwoRegistryViews();
