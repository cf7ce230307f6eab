// Compares the launcher's case mapping (kernel only) with the user-interface
// library's CharUpperBuffA and CharLowerBuffA in the current ANSI code page,
// for every byte value, one at a time and all together. Prints each
// difference and exits with their number.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform.h"

namespace {

int Compare(const char* what, void (*ours)(char*, uint32_t), DWORD(WINAPI* theirs)(LPSTR, DWORD)) {
    int differences = 0;
    char all[2][256];
    for (int b = 1; b < 256; ++b) {
        char mine = static_cast<char>(b);
        char reference = static_cast<char>(b);
        ours(&mine, 1);
        theirs(&reference, 1);
        if (mine != reference) {
            std::printf("%s %02x: ours %02x, reference %02x\n", what, b, mine & 0xFF, reference & 0xFF);
            ++differences;
        }
        all[0][b - 1] = all[1][b - 1] = static_cast<char>(b);
    }
    ours(all[0], 255);
    theirs(all[1], 255);
    if (std::memcmp(all[0], all[1], 255) != 0) {
        std::printf("%s: the 255 bytes mapped together differ\n", what);
        ++differences;
    }
    return differences;
}

}  // namespace

int main() {
    std::printf("code page %u\n", GetACP());
    const int differences = Compare("upper", OsCharUpperBuff, CharUpperBuffA) +
                            Compare("lower", OsCharLowerBuff, CharLowerBuffA);
    std::printf("differences=%d\n", differences);
    return differences;
}
