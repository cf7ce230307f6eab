// The number rule of the switch values /D:, /S: and /T:. It never fails: a
// text that holds no number reads as 0.
#pragma once

#include <cstdint>
#include <string>

// The value of `text` rounded to a 64-bit integer (ties to even). False when
// the value lies outside the 64-bit range.
bool ReadNumber64(const std::string& text, int64_t* value);

// The low 32 bits of ReadNumber64's result, or 0 when it is out of range.
int32_t ReadNumber(const std::string& text);
