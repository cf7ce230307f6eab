#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "number.h"

namespace {

struct NumberCase {
    std::string text;
    int32_t value;
};

TEST(ReadNumber, ReadsTheDecimalForm) {
    const std::vector<NumberCase> cases = {
        {"", 0},
        {"30", 30},
        {"  \t\n42", 42},             // blank, tab and line feed are skipped first
        {"\r42", 0},                  // a carriage return is not
        {"12abc", 12},
        {"1,000", 1},
        {"- 5", 0},                   // a sign followed by a blank
        {"-5", -5},
        {"+7", 7},
        {"+-7", 0},
        {"abc", 0},
        {".5", 0},                    // 0.5: ties go to the even integer
        {"1.5", 2},
        {"2.5", 2},
        {"3.5", 4},
        {"-2.5", -2},
        {"-3.5", -4},
        {"2.51", 3},
        {"1.2.3", 1},                 // one point only
        {"1e3", 1000},
        {"1e10", 1410065408},         // 10^10 in its low 32 bits
        {"1E3", 1000},
        {"1d3", 1000},
        {"1D+3", 1000},
        {"15e-1", 2},
        {"25E-1", 2},
        {"1e", 1},
        {"1e+", 1},
        {"5e-99999", 0},              // exponents beyond 9999 count as 9999
        {"1e99999", 0},               // out of range stores 0
        {"4294967295", -1},           // the low 32 bits
        {"4294967296", 0},
        {"4294967302", 6},
        {"2147483648", -2147483647 - 1},
        {"-2147483649", 2147483647},
        {"9223372036854775807", -8},  // 18 digits used: 9223372036854775800 = 0x7FFFFFFFFFFFFFF8
        {"9300000000000000000", 0},   // beyond the 64-bit range
        {"0.000000000000000000000000001", 0},
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(ReadNumber(c.text), c.value) << "text [" << c.text << "]";
    }
}

TEST(ReadNumber64, UsesEighteenSignificantDigits) {
    int64_t value = 0;
    ASSERT_TRUE(ReadNumber64("1234567890123456789", &value));
    EXPECT_EQ(value, 1234567890123456780LL);  // the 19th digit only moves the point
    ASSERT_TRUE(ReadNumber64("123456789012345678.9", &value));
    EXPECT_EQ(value, 123456789012345678LL);   // digits after the 18th do not round
    ASSERT_TRUE(ReadNumber64("-9223372036854775808", &value));
    EXPECT_EQ(value, -9223372036854775800LL);
    ASSERT_TRUE(ReadNumber64("0000000000000000000000012", &value));
    EXPECT_EQ(value, 12);                      // leading zeros are not significant
    EXPECT_FALSE(ReadNumber64("10000000000000000000", &value));
    ASSERT_TRUE(ReadNumber64("922337203685477580e1", &value));
    EXPECT_EQ(value, 9223372036854775800LL);
}

TEST(ReadNumber, ReadsTheRadixForms) {
    const std::vector<NumberCase> cases = {
        {"&H10", 16},
        {"&h1f", 31},
        {"&O17", 15},
        {"&o17", 15},
        {"&Q17", 15},
        {"&B101", 5},
        {"&17", 15},                  // a digit right after & is octal
        {"&7", 7},                    // one octal digit
        {"&H9", 9},
        {"&HA", 10},                  // an upper-case hexadecimal digit
        {"&18", 1},                   // digits are taken while valid for the base
        {"&9", 0},
        {"&", 0},
        {"&H", 0},
        {"&X10", 0},
        {" &H10", 16},
        {"&HFFFF", -1},               // 16 bits with bit 15 set: negative
        {"&H8000", -32768},
        {"&HFFFF%", -1},              // % changes nothing
        {"&HFFFF&", 65535},           // & keeps 16-bit values positive
        {"&HFFFF&&", 65535},          // and so does the wider && (it cannot read narrower)
        {"&H0FFFF", 65535},           // so does a leading 0 digit
        {"&HFFFF?", 65535},           // and a ? suffix
        {"&HFFFF???", 65535},
        {"&H7FFF", 32767},
        {"&H10000", 65536},
        {"&HFFFFFFFF", -1},           // 32 bits with bit 31 set: negative
        {"&HFFFFFFFF&", -1},
        {"&H80000000", -2147483647 - 1},
        {"&H1FFFFFFFF", -1},          // 33 bits: the low 32 bits are kept
        {"&HFFFFFFFFFFFFFFFF", -1},   // 64 bits read as a two's-complement value
        {"&HFFFFFFFFFFFFFFFF?", 0},   // unsigned with bit 63 set: out of range
        {"&H10000000000000000", 0},   // more than 64 bits of digits
        {"&H00000000000000000010", 16},
        {"&HFFFFxyz", -1},
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(ReadNumber(c.text), c.value) << "text [" << c.text << "]";
    }
}

TEST(ReadNumber64, AppliesTheSignRulesOfTheRadixForms) {
    int64_t value = 0;
    ASSERT_TRUE(ReadNumber64("&HFFFFFFFF&&", &value));
    EXPECT_EQ(value, 4294967295LL);           // && keeps 32-bit values positive
    ASSERT_TRUE(ReadNumber64("&H0FFFFFFFF", &value));
    EXPECT_EQ(value, 4294967295LL);
    ASSERT_TRUE(ReadNumber64("&HFFFFFFFF?", &value));
    EXPECT_EQ(value, 4294967295LL);
    ASSERT_TRUE(ReadNumber64("&HFFFFFFFF%", &value));
    EXPECT_EQ(value, -1);
    ASSERT_TRUE(ReadNumber64("&H7FFFFFFFFFFFFFFF?", &value));
    EXPECT_EQ(value, INT64_MAX);
    ASSERT_TRUE(ReadNumber64("&O1777777777777777777777", &value));
    EXPECT_EQ(value, -1);                     // 64 bits of octal digits
    EXPECT_FALSE(ReadNumber64("&H8000000000000000?", &value));
    ASSERT_TRUE(ReadNumber64("&H10000", &value));
    EXPECT_EQ(value, 65536);                  // 17 bits: no 16-bit sign
    ASSERT_TRUE(ReadNumber64("&HFFFFFFFF&", &value));
    EXPECT_EQ(value, -1);                     // & widens only a 16-bit value
}

TEST(ReadNumber64, TextWithoutANumberOrBeyondTheRangeGivesZero) {
    struct Case {
        const char* text;
        bool inRange;
    };
    for (const Case& c : {Case{"&H", true}, Case{"&X10", true}, Case{"0e20", true}, Case{"1e20", false}}) {
        int64_t value = 99;
        EXPECT_EQ(ReadNumber64(c.text, &value), c.inRange) << c.text;
        EXPECT_EQ(value, 0) << c.text;
    }
}

}  // namespace
