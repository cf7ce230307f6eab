// Case mapping one character at a time, through the double's UTF-8 code page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "case_mapping.h"

namespace {

std::string Mapped(std::string text, bool upper) {
    MapCaseByCharacter(&text[0], static_cast<uint32_t>(text.size()), upper);
    return text;
}

TEST(MapCaseByCharacter, KeepsOnlyTheCharactersWhoseLengthWouldChange) {
    struct Case {
        std::string text;
        bool upper;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"abc", true, "ABC"},
        {"\xC3\xA4/h", true, "\xC3\x84/H"},                 // same length: mapped
        {"\xC4\xB1/h", true, "\xC4\xB1/H"},                 // dotless i would become one byte: kept
        {"/h\xC4\xB1x", true, "/H\xC4\xB1X"},               // and the characters after it are still mapped
        {"C:\\\xC8\xBA\\A.EXE", false, "c:\\\xC8\xBA\\a.exe"},  // two bytes would become three: kept
        {"\xFF" "a\xC3", true, "\xFF" "A\xC3"},             // bytes that are no character stay
        {"\xF0\x9F\x98\x80z", true, "\xF0\x9F\x98\x80Z"},   // a pair of UTF-16 units is one character
        {std::string("a\0b", 3), true, std::string("A\0B", 3)},
    };
    for (const Case& c : cases) EXPECT_EQ(Mapped(c.text, c.upper), c.expected) << c.text;
}

}  // namespace
