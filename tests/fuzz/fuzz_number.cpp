// Any bytes as a switch value: the number reader never fails and its 32-bit
// result is the low half of its 64-bit one.
#include "fuzz_support.h"
#include "number.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    int64_t wide = 0;
    const bool inRange = ReadNumber64(text, &wide);
    const int32_t narrow = ReadNumber(text);
    FUZZ_CHECK(inRange ? narrow == static_cast<int32_t>(static_cast<uint32_t>(wide)) : narrow == 0);
    // Leading blanks never change the value.
    FUZZ_CHECK(ReadNumber(" \t\n" + text) == narrow);
    return 0;
}
