// Shared by the fuzz targets: fresh globals and double for every input.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "globals.h"
#include "platform_fake.h"

inline void FreshState() {
    ResetFake();
    ResetGlobals();
}

// Stops the fuzzer with the input saved when a property does not hold.
#define FUZZ_CHECK(condition)                                              \
    do {                                                                   \
        if (!(condition)) {                                                \
            std::fprintf(stderr, "property failed: %s\n", #condition);     \
            std::abort();                                                  \
        }                                                                  \
    } while (0)
