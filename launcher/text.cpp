#include "text.h"

#include "platform.h"

std::string UpperCase(std::string text) {
    if (!text.empty()) OsCharUpperBuff(&text[0], static_cast<uint32_t>(text.size()));
    return text;
}

std::string LowerCase(std::string text) {
    if (!text.empty()) OsCharLowerBuff(&text[0], static_cast<uint32_t>(text.size()));
    return text;
}

std::string Dec(int32_t n) {
    return std::to_string(n);
}

bool HoldsBlank(const std::string& text) {
    return text.find(' ') != std::string::npos;
}

std::string UpToNul(const std::string& text) {
    return text.substr(0, text.find('\0'));
}
