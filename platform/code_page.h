// The ANSI code page's conversions and the case mapping of UTF-16 text: what
// the case mapping of ANSI text is built on (case_mapping.h).
#pragma once

#include <cstdint>

// How many bytes the character that starts `text` takes (1 to `left`): two
// for a lead byte of a double-byte code page, what a UTF-8 lead byte
// announces when as many continuation bytes follow, otherwise one. It says
// nothing of whether the character is defined.
uint32_t OsCharacterLength(const char* text, uint32_t left);

// `length` bytes of ANSI text as UTF-16 units, strictly: 0 when the bytes are
// not valid text of the code page (a lead byte alone, a cut UTF-8 sequence).
uint32_t OsAnsiToWide(const char* text, uint32_t length, uint16_t* wide, uint32_t wideSize);

// UTF-16 units as ANSI text: the number of bytes, or 0 when they do not fit.
uint32_t OsWideToAnsi(const uint16_t* wide, uint32_t count, char* text, uint32_t size);

// The ANSI code page: what Windows reads a settings file's bytes in.
uint32_t OsAnsiCodePage();

// Upper- or lower-cases UTF-16 text in place, in the user's locale.
void OsMapWideCase(uint16_t* wide, uint32_t count, bool upper);
