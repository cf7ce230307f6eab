// Case mapping of ANSI text as the user-interface library does it, one
// character at a time, with the kernel's conversions alone.
#pragma once

#include <cstdint>

// Maps `length` bytes in place. A character whose mapped form takes another
// number of bytes (possible with UTF-8 as the ANSI code page) is kept as it
// is, and so is a byte that is no character; every other one is mapped.
void MapCaseByCharacter(char* text, uint32_t length, bool upper);
