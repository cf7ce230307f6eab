#include "case_mapping.h"

#include <cstring>

#include "code_page.h"

namespace {

// The longest character of any ANSI code page (UTF-8), and its UTF-16 form
// (a surrogate pair).
constexpr uint32_t kLongestCharacter = 4;
constexpr uint32_t kMostUnits = 2;

bool IsOneCharacter(const uint16_t* wide, uint32_t units) {
    return units == 1 || (units == 2 && wide[0] >= 0xD800 && wide[0] <= 0xDBFF);
}

}  // namespace

void MapCaseByCharacter(char* text, uint32_t length, bool upper) {
    for (uint32_t i = 0; i < length;) {
        uint32_t bytes = OsCharacterLength(text + i, length - i);
        if (bytes == 0 || bytes > kLongestCharacter || bytes > length - i) bytes = 1;
        uint16_t wide[kMostUnits] = {0, 0};
        const uint32_t units = OsAnsiToWide(text + i, bytes, wide, kMostUnits);
        if (!IsOneCharacter(wide, units)) {
            i += bytes;  // no character of the code page: kept as it is
            continue;
        }
        OsMapWideCase(wide, units, upper);
        char mapped[kLongestCharacter * 2];
        if (OsWideToAnsi(wide, units, mapped, sizeof mapped) == bytes) std::memcpy(text + i, mapped, bytes);
        i += bytes;
    }
}
