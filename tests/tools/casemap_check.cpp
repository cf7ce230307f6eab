// Compares the launcher's case mapping (kernel only) with the user-interface
// library's CharUpperBuffA and CharLowerBuffA in the current ANSI code page,
// for every byte value, one at a time, all together, and in a double-byte
// code page every pair after a lead byte. With UTF-8 as the
// code page, where single bytes above 127 are no characters, it checks texts
// that mix characters whose case keeps or changes their length instead.
// Prints each difference and exits with their number.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform.h"

namespace {

int Compare(const char* what, void (*ours)(char*, uint32_t), DWORD(WINAPI* theirs)(LPSTR, DWORD)) {
    int differences = 0;
    char all[2][256];
    bool doubleByte = false;
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
        doubleByte = doubleByte || IsDBCSLeadByte(static_cast<BYTE>(b));
    }
    if (!doubleByte) {
        ours(all[0], 255);
        theirs(all[1], 255);
        if (std::memcmp(all[0], all[1], 255) != 0) {
            std::printf("%s: the 255 bytes mapped together differ\n", what);
            ++differences;
        }
        return differences;
    }
    // Every lead byte with every byte after it: a defined character is mapped
    // as the reference maps it; an undefined one is kept as it is (the
    // reference makes it the default character).
    for (int lead = 0x81; lead < 256; ++lead) {
        if (!IsDBCSLeadByte(static_cast<BYTE>(lead))) continue;
        for (int trail = 0x40; trail < 256; ++trail) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            WCHAR wide[2];
            const bool defined = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, pair, 2, wide, 2) == 1;
            char mine[3] = {pair[0], pair[1], 0};
            char reference[3] = {pair[0], pair[1], 0};
            ours(mine, 2);
            if (defined) theirs(reference, 2);
            if (std::memcmp(mine, reference, 2) != 0) {
                std::printf("%s %02x%02x: ours %02x%02x, %s %02x%02x\n", what, lead, trail, mine[0] & 0xFF,
                            mine[1] & 0xFF, defined ? "reference" : "kept", reference[0] & 0xFF, reference[1] & 0xFF);
                ++differences;
            }
        }
    }
    return differences;
}

int CompareText(const char* what, void (*ours)(char*, uint32_t), const char* text, const char* expected) {
    char mapped[64];
    const size_t length = std::strlen(text);
    std::memcpy(mapped, text, length + 1);
    ours(mapped, static_cast<uint32_t>(length));
    if (std::strcmp(mapped, expected) == 0) return 0;
    std::printf("%s [%s]: ours [%s], expected [%s]\n", what, text, mapped, expected);
    return 1;
}

int CompareUtf8() {
    // a with diaeresis keeps its two bytes; turned a (upper case three bytes)
    // and A with stroke (lower case three bytes) do not.
    return CompareText("upper", OsCharUpperBuff, "\xC3\xA4/h", "\xC3\x84/H") +
           CompareText("upper", OsCharUpperBuff, "/h\xC9\x90x", "/H\xC9\x90X") +
           CompareText("lower", OsCharLowerBuff, "C:\\\xC8\xBA\\A.EXE", "c:\\\xC8\xBA\\a.exe") +
           CompareText("lower", OsCharLowerBuff, "\xC3\x9C" "BUNG", "\xC3\xBC" "bung");
}

}  // namespace

int main() {
    std::printf("code page %u\n", GetACP());
    const int differences = GetACP() == CP_UTF8 ? CompareUtf8()
                                                : Compare("upper", OsCharUpperBuff, CharUpperBuffA) +
                                                      Compare("lower", OsCharLowerBuff, CharLowerBuffA);
    std::printf("differences=%d\n", differences);
    return differences;
}
