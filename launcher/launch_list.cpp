#include "launch_list.h"

#include <vector>

#include "globals.h"
#include "platform.h"
#include "text.h"

namespace {

const char kSection[] = "Launch";
// The default of a text key: a value equal to it reads as a missing key.
const char kMissing[] = "NoNeNi";
constexpr uint32_t kValueBufferSize = 256;
constexpr uint32_t kLargestValueBuffer = 1u << 30;
constexpr uint32_t kExpandBufferSize = 260;
constexpr int32_t kMissingNumber = -1;
constexpr int32_t kHighestShowState = 6;

// The value of a text key, whole whatever its length: the profile reader
// fills a buffer of n with at most n - 1 characters whether or not the value
// was longer, so a full buffer is tried again larger. (One character short of
// full is taken as full too: a quoted value can come back one short.)
std::string ReadText(const std::string& key) {
    for (uint32_t size = kValueBufferSize;; size *= 2) {
        std::vector<char> buffer(size + 4, '\0');
        const uint32_t copied =
            OsGetPrivateProfileString(kSection, key.c_str(), kMissing, buffer.data(), size, SettingsPath.c_str());
        if (copied + 2 < size || size >= kLargestValueBuffer) return std::string(buffer.data(), copied < size ? copied : size);
    }
}

int32_t ReadInt(const std::string& key) {
    return OsGetPrivateProfileInt(kSection, key.c_str(), kMissingNumber, SettingsPath.c_str());
}

bool IsMissing(const std::string& value) {
    return value.empty() || value == kMissing;
}

}  // namespace

std::string ExpandVariables(const std::string& text) {
    if (text.empty()) return std::string();
    if (text.find('%') == std::string::npos) return text;

    const std::string source = UpToNul(text);
    std::vector<char> buffer;
    uint32_t size = kExpandBufferSize;
    for (int attempt = 0; attempt < 8; ++attempt) {
        buffer.assign(size + 1, '\0');
        const uint32_t needed = OsExpandEnvironmentStrings(source.c_str(), buffer.data(), size);
        if (needed == 0) return text;
        if (needed <= size) break;
        size = needed;  // too small: the platform said how much it needs
    }
    std::string expanded(buffer.data());  // up to its first NUL
    const size_t first = expanded.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    const size_t last = expanded.find_last_not_of(' ');
    return expanded.substr(first, last - first + 1);
}

void LoadLaunchList() {
    for (int n = 1; n <= kMaxEntries; ++n) {
        const std::string number = Dec(n);
        const std::string program = ReadText("Program" + number);
        if (IsMissing(program)) continue;
        std::string arguments = ReadText("CmdLine" + number);
        if (IsMissing(arguments)) continue;
        // Two double quotes stand for "no arguments": an empty value would
        // read as a missing key.
        if (arguments == "\"\"") arguments.clear();
        const int32_t delay = ReadInt("DelaySec" + number);
        if (delay == kMissingNumber) continue;
        int32_t style = ReadInt("WndStyle" + number);
        if (style < 0 || style > kHighestShowState) style = 0;

        const int k = ++EntryCount;
        Table.Program[k] = ExpandVariables(program);
        Table.CmdLine[k] = arguments;
        Table.DelaySec[k] = delay;
        Table.WndStyle[k] = style;
    }
}
