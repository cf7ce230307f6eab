#include "entry_check.h"

#include <vector>

#include "advice.h"
#include "command_line.h"
#include "delayed_start.h"
#include "globals.h"
#include "key_names.h"
#include "mark_of_web.h"
#include "launch_list.h"
#include "process_start.h"
#include "program_check.h"
#include "paths.h"
#include "program_search.h"
#include "spawn.h"
#include "text.h"
#include "wait_check.h"

namespace {

// Unread keys listed one by one; the rest are counted in one line.
constexpr int kUnreadKeysListed = 20;
// The longest stamp a copy can be given (the seconds of the day), for the
// length of its command line; the report shows a placeholder instead.
constexpr int32_t kLongestStamp = 86400;
const char kStampPlaceholder[] = "<second of the day>";
// A run's tag is eight digits; the report shows where it goes.
const char kLongestTag[] = "ffffffff";
const char kTagPlaceholder[] = "<run>";

struct EntryKeys {
    bool present[kStemCount] = {};
};

bool IsPlainInteger(const std::string& text, int64_t* value) {
    size_t i = text.size() > 0 && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i == text.size() || text.size() - i > 12) return false;
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        magnitude = magnitude * 10 + (text[i] - '0');
    }
    *value = text[0] == '-' ? -magnitude : magnitude;
    return true;
}

// Why a text key made the entry skip: missing, empty, or the default text.
std::string WhyTextIsMissing(KeyStem stem, int n, const EntryKeys& keys) {
    const std::string key = EntryKeyName(stem, n);
    if (!keys.present[static_cast<int>(stem)]) return key + " is missing";
    const std::string value = ReadSettingsText(key);
    if (value == kMissingText) return key + " is " + kMissingText + ", a text that reads as a missing key";
    return key + " is empty";
}

std::string WhyDelayIsMissing(int n, const EntryKeys& keys) {
    const std::string key = EntryKeyName(KeyStem::DelaySec, n);
    if (!keys.present[static_cast<int>(KeyStem::DelaySec)]) return key + " is missing";
    const std::string value = ReadSettingsText(key);
    if (value.empty()) return key + " is empty";
    if (value == "-1") return key + " is -1, which counts as missing";
    return key + "=" + Printable(value) + " reads as -1, which counts as missing";
}

void ReportSkipped(int n, EntryVerdict verdict, const EntryKeys& keys, const LastRun& lastRun, Report* report) {
    ++report->skipped;
    std::string why;
    switch (verdict) {
        case EntryVerdict::NoEntry:
        case EntryVerdict::NoProgram:
            why = WhyTextIsMissing(KeyStem::Program, n, keys);
            break;
        case EntryVerdict::NoArguments:
            why = WhyTextIsMissing(KeyStem::CmdLine, n, keys) + " (for no arguments write " +
                  EntryKeyName(KeyStem::CmdLine, n) + "=" + WrittenValue("", true) + ")";
            break;
        case EntryVerdict::NoDelay:
            why = WhyDelayIsMissing(n, keys);
            break;
        case EntryVerdict::Accepted:
            break;
    }
    AddLine(report, EntryPrefix(n) + "skipped: " + why);
    ReportLastRun(n, Prediction::Skipped, verdict != EntryVerdict::NoEntry, lastRun, report);
}

// A number key whose text is not the plain integer that Postpone reads.
void CheckNumberText(KeyStem stem, int n, const EntryKeys& keys, Report* report) {
    if (!keys.present[static_cast<int>(stem)]) return;
    const std::string key = EntryKeyName(stem, n);
    const std::string text = ReadSettingsText(key);
    const int32_t read = ReadSettingsNumber(key);
    int64_t written = 0;
    const bool plain = IsPlainInteger(text, &written);
    if (text.empty() || (plain && written == read)) return;
    if (stem == KeyStem::DelaySec && DelayCountsAsMissing(read)) return;  // the entry's skip line says it
    if (stem == KeyStem::WndStyle && !IsShowState(read)) return;  // the show-state warning says it
    AddWarning(report, EntryPrefix(n) + key + "=" + Printable(text) +
                           (plain ? " lies outside the range of numbers" : " is not a plain integer") +
                           ": Postpone reads it as " + Dec(read));
}

void CheckShowState(int n, const EntryKeys& keys, Report* report) {
    const std::string key = EntryKeyName(KeyStem::WndStyle, n);
    if (!keys.present[static_cast<int>(KeyStem::WndStyle)]) {
        AddWarning(report, EntryPrefix(n) + key + " is missing: the program starts hidden");
        return;
    }
    const int32_t read = ReadSettingsNumber(key);
    if (IsShowState(read)) return;
    const std::string text = ReadSettingsText(key);
    AddWarning(report, EntryPrefix(n) + key + (text.empty() ? " is empty" : "=" + Printable(text) + " is outside 0 to 6") +
                           ": the program starts hidden");
}

// The findings about an accepted entry, into `details`; false when they
// predict that Windows will not start its program.
bool CheckAccepted(int n, const std::string& copy, const std::string& command, const LaunchEntry& slot,
                   const EntryKeys& keys, const CheckTarget& target, const std::vector<WorkingFolder>& folders,
                   const Environments& environments, Report* details) {
    CheckShowState(n, keys, details);
    for (const std::string* line : {&copy, &command}) {
        if (FitsCommandLimit(*line)) continue;
        AddWarning(details, EntryPrefix(n) + (line == &copy ? "the copy's" : "the program's") + " command line is " +
                                Dec(static_cast<int32_t>(line->size())) + " characters, more than the " +
                                Dec(kMaxCommandLength - 1) + " the platform takes: this entry never starts");
        return false;
    }
    const bool programStarts = CheckProgram(n, command, slot.StartIn, folders, target.exePath, details);
    CheckConsoleEnvironment(n, command, programStarts, target.exePath, folders.front().folder, environments, details);
    const bool folderServes = CheckStartIn(n, slot.StartIn, folders, details);
    CheckWait(n, slot, folders, details);
    return programStarts && folderServes;
}

void ReportAccepted(int n, const LaunchEntry& entry, const EntryKeys& keys, const CheckTarget& target,
                    const std::vector<WorkingFolder>& folders, const Environments& environments,
                    const LastRun& lastRun, Report* report) {
    // The copy's command line as list mode writes it, and what the copy,
    // reading it back, hands to the platform.
    const std::string copy = BuildCopyCommand(target.exePath, entry, Dec(kLongestStamp), LogFile, kLongestTag);
    bool execute = false;
    LaunchEntry slot;
    int32_t stamp = 0;
    std::string logFile, runTag;
    ReadSwitches(RemoveProgramName(copy), Switches{&execute, &slot.Program, &slot.CmdLine, &slot.DelaySec,
                                                   &slot.WndStyle, &stamp, &slot.StartIn, &slot.WaitFor,
                                                   &slot.WaitSec, &logFile, &slot.Number, &runTag,
                                                   &slot.WaitIdle});
    const std::string command = BuildTargetCommand(slot.Program, slot.CmdLine);

    // The verdict on the entry's line is the checker's own prediction, so
    // the findings come first and are said after the line.
    Report details;
    const bool starts = CheckAccepted(n, copy, command, slot, keys, target, folders, environments, &details);
    ++(starts ? report->starts : report->fails);
    AddLine(report, Printable(EntryPrefix(n) + (starts ? "starts " : "fails to start ") + DelayText(entry.DelaySec) +
                              ", " + ShowStateName(entry.WndStyle) + ", program " + entry.Program + ", " +
                              (entry.CmdLine.empty() ? std::string("no arguments") : "arguments " + entry.CmdLine) +
                              (entry.StartIn.empty() ? std::string() : ", in " + entry.StartIn) + WaitText(entry)));
    AddLine(report, "    copy: " + Printable(BuildCopyCommand(target.exePath, entry, kStampPlaceholder, LogFile, kTagPlaceholder)));
    AddLine(report, "    command: " + Printable(command));
    if (IsFullPath(entry.Program)) CheckMarkOfTheWeb(entry.Program, EntryKeyPrefix(n, KeyStem::Program), false, &details);
    ReportLastRun(n, starts ? Prediction::Starts : Prediction::Fails, true, lastRun, report);
    report->text += details.text;
    report->warnings += details.warnings;
}

}  // namespace

std::string ShowStateName(int32_t style) {
    static const char* const kNames[] = {"hidden",    "normal",  "minimised", "maximised", "normal without the focus",
                                         "shown",     "minimised without the focus"};
    return kNames[ShowStateOf(style)];
}

std::string DelayText(int32_t seconds) {
    if (seconds <= 0) return "at once";
    std::string text = "after " + Dec(seconds) + " s";
    if (seconds < 60) return text;
    const int32_t days = seconds / 86400, hours = seconds / 3600 % 24, minutes = seconds / 60 % 60, rest = seconds % 60;
    std::string parts;
    if (days > 0) parts += Dec(days) + " d ";
    if (hours > 0) parts += Dec(hours) + " h ";
    if (minutes > 0) parts += Dec(minutes) + " min ";
    if (rest > 0) parts += Dec(rest) + " s ";
    parts.pop_back();
    return text + " (" + parts + ")";
}

void CheckEntries(const CheckTarget& target, const std::vector<WorkingFolder>& folders,
                  const Environments& environments, const LastRun& lastRun, Report* report) {
    std::vector<EntryKeys> entries(kMaxEntries + 1);
    std::vector<bool> anyKey(kMaxEntries + 1, false);
    std::vector<std::string> unread;
    for (const std::string& name : ReadKeyNames(kLaunchSection)) {
        const KeyName key = ClassifyKeyName(name);
        if (!key.read) {
            unread.push_back("key " + Printable(name) + " in [Launch]: Postpone never reads it: " + key.problem);
            continue;
        }
        if (key.entry == 0) continue;  // LogFile, a key of the whole section
        entries[key.entry].present[static_cast<int>(key.stem)] = true;
        anyKey[key.entry] = true;
    }

    bool anyEntry = false;
    for (int n = 1; IsEntryNumber(n); ++n) {
        if (!anyKey[n]) continue;
        anyEntry = true;
        LaunchEntry entry;
        const EntryVerdict verdict = ReadLaunchEntry(n, &entry);
        if (verdict == EntryVerdict::Accepted) {
            ReportAccepted(n, entry, entries[n], target, folders, environments, lastRun, report);
        } else {
            ReportSkipped(n, verdict, entries[n], lastRun, report);
        }
        CheckNumberText(KeyStem::DelaySec, n, entries[n], report);
        if (verdict == EntryVerdict::Accepted) CheckNumberText(KeyStem::WndStyle, n, entries[n], report);
        if (verdict == EntryVerdict::Accepted && (!entry.WaitFor.empty() || entry.WaitIdle != 0)) {
            CheckNumberText(KeyStem::WaitSec, n, entries[n], report);
        }
        if (verdict == EntryVerdict::Accepted) {
            CheckIdlePercent(n, entries[n].present[static_cast<int>(KeyStem::WaitIdle)], report);
            if (entry.WaitIdle != 0) CheckNumberText(KeyStem::WaitIdle, n, entries[n], report);
        }
    }
    if (!anyEntry) AddLine(report, "[Launch] holds no entry: nothing starts");

    for (size_t i = 0; i < unread.size() && i < kUnreadKeysListed; ++i) AddWarning(report, unread[i]);
    if (unread.size() > kUnreadKeysListed) {
        AddWarning(report, Dec(static_cast<int32_t>(unread.size() - kUnreadKeysListed)) +
                               " more keys in [Launch] that Postpone never reads");
    }
}
