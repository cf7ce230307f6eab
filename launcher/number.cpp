#include "number.h"

namespace {

constexpr uint64_t kSignBit64 = 0x8000000000000000ull;
constexpr int kMaxSignificantDigits = 18;
constexpr int kMaxExponent = 9999;

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 99;
}

// "&H1F", "&O17", "&Q17", "&B101", "&17": starts right after the "&".
bool ReadRadixForm(const std::string& t, size_t i, int64_t* value) {
    int base = 8;
    if (i < t.size()) {
        switch (t[i]) {
            case 'H': case 'h': base = 16; ++i; break;
            case 'O': case 'o': case 'Q': case 'q': base = 8; ++i; break;
            case 'B': case 'b': base = 2; ++i; break;
            default: break;  // a digit follows directly: octal
        }
    }
    const int bitsPerDigit = base == 16 ? 4 : base == 8 ? 3 : 1;
    const bool leadingZero = i < t.size() && t[i] == '0';
    uint64_t v = 0;
    int digits = 0;
    bool tooLong = false;
    for (; i < t.size() && DigitValue(t[i]) < base; ++i, ++digits) {
        if ((v >> (64 - bitsPerDigit)) != 0) tooLong = true;
        v = (v << bitsPerDigit) | static_cast<uint64_t>(DigitValue(t[i]));
    }
    if (digits == 0 || tooLong) {
        *value = 0;
        return true;
    }

    // One optional type suffix: "%", "&", "&&" or one to three "?".
    std::string suffix;
    if (i < t.size() && t[i] == '%') {
        suffix = "%";
    } else if (i < t.size() && t[i] == '&') {
        suffix = (i + 1 < t.size() && t[i + 1] == '&') ? "&&" : "&";
    } else {
        while (i < t.size() && t[i] == '?' && suffix.size() < 3) suffix += t[i++];
    }
    const bool unsignedForm = leadingZero || (!suffix.empty() && suffix[0] == '?');

    if (unsignedForm) {
        if ((v & kSignBit64) != 0) return false;  // beyond the signed 64-bit range
        *value = static_cast<int64_t>(v);
    } else if (v <= 0xFFFFu) {
        const bool wider = suffix == "&" || suffix == "&&";
        *value = (!wider && (v & 0x8000u) != 0) ? static_cast<int64_t>(v) - 0x10000 : static_cast<int64_t>(v);
    } else if (v <= 0xFFFFFFFFu) {
        *value = (suffix != "&&" && (v & 0x80000000u) != 0) ? static_cast<int64_t>(v) - 0x100000000ll
                                                              : static_cast<int64_t>(v);
    } else {
        *value = static_cast<int64_t>(v);  // 33 to 64 bits: two's complement
    }
    return true;
}

// 10^exponent for 0 <= exponent <= 19, exactly.
uint64_t PowerOfTen(int exponent) {
    uint64_t p = 1;
    while (exponent-- > 0) p *= 10;
    return p;
}

// mantissa * 10^exponent rounded half to even, with its sign; false outside
// the 64-bit range. Exact: no floating point is involved.
bool ScaleAndRound(uint64_t mantissa, int exponent, bool negative, int64_t* value) {
    uint64_t magnitude = 0;
    if (mantissa == 0) {
        magnitude = 0;
    } else if (exponent >= 0) {
        if (exponent > 19) return false;
        const uint64_t scale = PowerOfTen(exponent);
        if (mantissa > UINT64_MAX / scale) return false;
        magnitude = mantissa * scale;
    } else if (exponent < -19) {
        magnitude = 0;  // mantissa < 10^18, so the value is below 0.1
    } else {
        const uint64_t scale = PowerOfTen(-exponent);
        magnitude = mantissa / scale;
        const uint64_t rest = mantissa % scale;
        const uint64_t half = scale / 2;  // scale is even for exponent <= -1
        if (rest > half || (rest == half && (magnitude & 1) != 0)) ++magnitude;
    }
    if (negative) {
        if (magnitude > kSignBit64) return false;
        *value = static_cast<int64_t>(0 - magnitude);
    } else {
        if (magnitude >= kSignBit64) return false;
        *value = static_cast<int64_t>(magnitude);
    }
    return true;
}

// [+|-] digits [. digits] [(E|e|D|d) [+|-] digits], read as far as it fits.
bool ReadDecimalForm(const std::string& t, size_t i, int64_t* value) {
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';

    uint64_t mantissa = 0;
    int significant = 0;
    int shift = 0;  // decimal exponent of the mantissa's last digit
    bool seenPoint = false;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (c == '.' && !seenPoint) {
            seenPoint = true;
            continue;
        }
        if (c < '0' || c > '9') break;
        if (significant == 0 && c == '0') {
            if (seenPoint) --shift;  // leading zeros after the point
            continue;
        }
        if (significant < kMaxSignificantDigits) {
            mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
            ++significant;
            if (seenPoint) --shift;
        } else if (!seenPoint) {
            ++shift;  // later integer digits only move the point
        }
    }

    int exponent = 0;
    if (i < t.size() && (t[i] == 'E' || t[i] == 'e' || t[i] == 'D' || t[i] == 'd')) {
        ++i;
        bool negativeExponent = false;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) negativeExponent = t[i++] == '-';
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
            exponent = exponent * 10 + (t[i] - '0');
            if (exponent > kMaxExponent) exponent = kMaxExponent;
        }
        if (negativeExponent) exponent = -exponent;
    }
    return ScaleAndRound(mantissa, shift + exponent, negative, value);
}

}  // namespace

bool ReadNumber64(const std::string& text, int64_t* value) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
    *value = 0;
    if (i < text.size() && text[i] == '&') {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (next == 'H' || next == 'h' || next == 'O' || next == 'o' || next == 'Q' || next == 'q' ||
            next == 'B' || next == 'b' || (next >= '0' && next <= '9')) {
            return ReadRadixForm(text, i + 1, value);
        }
        return true;  // "&" followed by anything else holds no number
    }
    return ReadDecimalForm(text, i, value);
}

int32_t ReadNumber(const std::string& text) {
    int64_t value = 0;
    if (!ReadNumber64(text, &value)) return 0;
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}
