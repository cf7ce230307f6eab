#include "launch_list.h"

#include <utility>
#include <vector>

#include "globals.h"
#include "platform.h"
#include "text.h"

namespace {

constexpr uint32_t kValueBufferSize = 256;
// No command longer than the platform's limit (32767 characters with the NUL)
// ever starts, so a value is read whole only up to twice that: a longer one
// comes back cut and its entry fails to start as it would whole, while a
// value of hundreds of megabytes can no longer exhaust a 32-bit process and
// lose the entries after it.
constexpr uint32_t kLargestValueBuffer = 1u << 16;
constexpr uint32_t kExpandBufferSize = 260;

bool IsMissing(const std::string& value) {
    return value.empty() || value == kMissingText;
}

}  // namespace

const char kLaunchSection[] = "Launch";
const char kMissingText[] = "NoNeNi";

const char* StemName(KeyStem stem) {
    static const char* const kNames[kStemCount] = {"Program", "CmdLine", "DelaySec", "WndStyle", "StartIn",
                                                   "WaitFor", "WaitSec", "WaitIdle"};
    return kNames[static_cast<int>(stem)];
}

std::string EntryKeyName(KeyStem stem, int n) {
    return StemName(stem) + Dec(n);
}

bool IsEntryNumber(int n) {
    return n >= 1 && n <= kMaxEntries;
}

bool DelayCountsAsMissing(int32_t delay) {
    return delay == kMissingNumber;
}

bool IsShowState(int32_t style) {
    return style >= 0 && style <= kHighestShowState;
}

int32_t ShowStateOf(int32_t style) {
    return IsShowState(style) ? style : 0;
}

int32_t IdlePercentOf(int32_t percent) {
    return percent >= kLowestIdlePercent && percent <= kHighestIdlePercent ? percent : 0;
}

int32_t WaitSecondsOf(int32_t seconds) {
    return seconds < 0 ? 0 : seconds;
}

// The profile reader fills a buffer of n with at most n - 1 characters whether
// or not the value was longer, so a full buffer is tried again larger. (One
// character short of full is taken as full too: a quoted value can come back
// one short.)
std::string ReadSettingsText(const std::string& key) {
    for (uint32_t size = kValueBufferSize;; size *= 2) {
        std::vector<char> buffer(size + 4, '\0');
        const uint32_t copied = OsGetPrivateProfileString(kLaunchSection, key.c_str(), kMissingText, buffer.data(),
                                                          size, SettingsPath.c_str());
        if (copied + 2 < size || size >= kLargestValueBuffer) return std::string(buffer.data(), copied < size ? copied : size);
    }
}

int32_t ReadSettingsNumber(const std::string& key, int32_t fallback) {
    return OsGetPrivateProfileInt(kLaunchSection, key.c_str(), fallback, SettingsPath.c_str());
}

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
        // The platform says how much it needs, its NUL counted; for ANSI text
        // the documentation asks for one byte more than that, or the text may
        // come back one character short.
        if (needed < size) break;
        size = needed + 1;
    }
    std::string expanded(buffer.data());  // up to its first NUL
    const size_t first = expanded.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    const size_t last = expanded.find_last_not_of(' ');
    return expanded.substr(first, last - first + 1);
}

EntryVerdict ReadLaunchEntry(int n, LaunchEntry* entry) {
    const std::string program = ReadSettingsText(EntryKeyName(KeyStem::Program, n));
    if (program == kMissingText) return EntryVerdict::NoEntry;
    if (program.empty()) return EntryVerdict::NoProgram;
    std::string arguments = ReadSettingsText(EntryKeyName(KeyStem::CmdLine, n));
    if (IsMissing(arguments)) return EntryVerdict::NoArguments;
    // Two double quotes stand for "no arguments": an empty value would read
    // as a missing key.
    if (arguments == "\"\"") arguments.clear();
    const int32_t delay = ReadSettingsNumber(EntryKeyName(KeyStem::DelaySec, n));
    if (DelayCountsAsMissing(delay)) return EntryVerdict::NoDelay;
    const int32_t style = ShowStateOf(ReadSettingsNumber(EntryKeyName(KeyStem::WndStyle, n)));

    // Read last, and only for an accepted entry, so that a settings file
    // without them is read key for key as before; WaitSec only with WaitFor
    // or WaitIdle.
    const std::string startIn = ReadSettingsText(EntryKeyName(KeyStem::StartIn, n));
    const std::string waitFor = ReadSettingsText(EntryKeyName(KeyStem::WaitFor, n));
    const int32_t idle = IdlePercentOf(ReadSettingsNumber(EntryKeyName(KeyStem::WaitIdle, n)));
    const bool waits = !IsMissing(waitFor) || idle != 0;
    const int32_t waitSec =
        waits ? WaitSecondsOf(ReadSettingsNumber(EntryKeyName(KeyStem::WaitSec, n), kDefaultWaitSec)) : kDefaultWaitSec;

    entry->Program = ExpandVariables(program);
    entry->CmdLine = arguments;
    entry->DelaySec = delay;
    entry->WndStyle = style;
    entry->StartIn = IsMissing(startIn) ? std::string() : ExpandVariables(startIn);
    entry->WaitFor = !IsMissing(waitFor) ? ExpandVariables(waitFor) : std::string();
    entry->WaitIdle = idle;
    entry->WaitSec = waitSec;
    entry->Number = n;
    return EntryVerdict::Accepted;
}

void LoadLaunchList() {
    for (int n = 1; IsEntryNumber(n); ++n) {
        LaunchEntry entry;
        const EntryVerdict verdict = ReadLaunchEntry(n, &entry);
        if (verdict == EntryVerdict::NoEntry) continue;
        if (verdict != EntryVerdict::Accepted) {
            SkippedEntries.push_back(n);
            continue;
        }
        const int k = ++EntryCount;
        Table.Program[k] = std::move(entry.Program);
        Table.CmdLine[k] = std::move(entry.CmdLine);
        Table.DelaySec[k] = entry.DelaySec;
        Table.WndStyle[k] = entry.WndStyle;
        Table.StartIn[k] = std::move(entry.StartIn);
        Table.WaitFor[k] = std::move(entry.WaitFor);
        Table.WaitSec[k] = entry.WaitSec;
        Table.WaitIdle[k] = entry.WaitIdle;
        Table.Number[k] = n;
    }
}
