// Windows' error numbers as the checker says them, in its predictions and in
// what it reads back from the record of starts: "error 740,
// ERROR_ELEVATION_REQUIRED", and what such an answer to a start means.
#pragma once

#include <cstdint>
#include <string>

// "error 740, ERROR_ELEVATION_REQUIRED"; "error 1234" for a number it does
// not know.
std::string WindowsError(uint32_t code);

// What the error means when Windows gives it for a start ("the program is
// not there"); empty for a number it does not know.
std::string WhatErrorMeans(uint32_t code);
