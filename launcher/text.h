// Small text helpers shared by the launcher's procedures.
#pragma once

#include <cstdint>
#include <string>

// Upper- and lower-casing in the ANSI code page, through the platform.
std::string UpperCase(std::string text);
std::string LowerCase(std::string text);

// n in decimal: a leading "-" when negative, no blank, no leading zeros.
std::string Dec(int32_t n);

// True when the text holds a blank (code 32): such a path must be quoted on
// a command line, or the platform may try its shorter prefixes first.
bool HoldsBlank(const std::string& text);

// The text up to its first NUL: what the platform sees of it.
std::string UpToNul(const std::string& text);
