#include "run_record.h"

#include "globals.h"
#include "launch_list.h"
#include "path_rules.h"
#include "text.h"

const char kLogFileKey[] = "LogFile";

namespace {

constexpr char kTab = '\t';

// The free text on one line: a line break in it would cut the event in two.
std::string OnOneLine(const std::string& text) {
    std::string line;
    for (char c : UpToNul(text)) {
        if (c == '\r') {
            line += "<0x0D>";
        } else if (c == '\n') {
            line += "<0x0A>";
        } else {
            line += c;
        }
    }
    return line;
}

}  // namespace

std::string OlderRecordPath(const std::string& path) {
    return path + ".1";
}

std::string MachineName() {
    char name[64] = {0};
    const uint32_t length = OsGetComputerName(name, sizeof name - 1);
    return std::string(name, length < sizeof name ? length : 0);
}

bool IsRunTag(const std::string& text) {
    if (text.size() != 8) return false;
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

std::string RecordTime(const OsLocalTime& time) {
    std::string text = "0000-00-00 00:00:00";
    const struct {
        unsigned value;
        size_t end;  // one past its last digit
    } parts[] = {{time.year, 4u}, {time.month, 7u}, {time.day, 10u}, {time.hour, 13u}, {time.minute, 16u}, {time.second, 19u}};
    for (const auto& part : parts) {
        unsigned value = part.value;
        for (size_t i = part.end; i-- > 0 && text[i] != '-' && text[i] != ' ' && text[i] != ':'; value /= 10) {
            text[i] = static_cast<char>('0' + value % 10);
        }
    }
    return text;
}

namespace {

// " 1 2 5", or " none".
std::string Numbers(const std::vector<int32_t>& numbers) {
    std::string text;
    for (int32_t n : numbers) text += " " + Dec(n);
    return numbers.empty() ? " none" : text;
}

}  // namespace

std::string FormatRecordLine(const RecordLine& line) {
    std::string text = line.time + kTab;
    if (!line.run.empty()) text += "run " + line.run + kTab;
    text += (line.list ? std::string("list") : "entry " + Dec(line.entry)) + kTab;
    switch (line.outcome) {
        case RecordOutcome::Read:
            text += "read\taccepted " + Dec(line.accepted);
            if (!line.run.empty()) text += "\tentries" + Numbers(line.handed);
            text += "\tskipped" + Numbers(line.skipped);
            if (!line.run.empty()) text += "\tmachine " + OnOneLine(line.machine);
            break;
        case RecordOutcome::Started:
        case RecordOutcome::NoProcess:
            text += std::string(line.outcome == RecordOutcome::Started ? "started\tpid " + std::to_string(line.processId)
                                                                       : "no process") +
                    "\tdelay " + Dec(line.delay) + " s\tlate " + Dec(line.late) + " s";
            if (line.waited >= 0) text += "\twaited " + Dec(line.waited) + " s";
            if (line.quiet >= 0) text += (line.stillBusy ? "\tstill busy after " : "\tquiet after ") + Dec(line.quiet) + " s";
            break;
        case RecordOutcome::Failed:
            text += "failed\terror " + std::to_string(line.error);
            if (line.copy) text += "\tcopy";
            break;
        case RecordOutcome::NotStarted:
            text += "not started\twaited " + Dec(line.waited) + " s";
            break;
    }
    return text + kTab + OnOneLine(line.text);
}

std::string RecordPathOf(const std::string& settingsPath, const std::string& value) {
    return value.empty() ? std::string() : ResolvedFrom(FolderOf(settingsPath), value);
}

namespace {

constexpr size_t kMaxPath = 260;

// LogFile's value, its variables expanded; empty without it.
std::string LogFileValue() {
    const std::string value = ReadSettingsText(kLogFileKey);
    return value.empty() || value == kMissingText ? std::string() : ExpandVariables(value);
}

}  // namespace

std::string LogFileAsWritten() {
    return RecordPathOf(SettingsPath, LogFileValue());
}

RecordPathFault FaultOfRecordPath(const std::string& value, const std::string& path) {
    // "C:p.log": the drive's current folder, which only a console sets.
    if (value.size() >= 2 && value[1] == ':' && (value.size() == 2 || !IsSeparator(value[2]))) {
        return RecordPathFault::DriveRelative;
    }
    // The ANSI file functions take MAX_PATH characters, its NUL counted
    // ("Maximum Path Length Limitation", Microsoft's documentation).
    if (path.size() >= kMaxPath) return RecordPathFault::TooLong;
    // "?" and "*" are no file name's characters ("Naming Conventions"); a
    // character the ANSI code page cannot spell (a user name in another
    // script, expanded from %USERNAME%) becomes a "?".
    if (path.find_first_of("?*") != std::string::npos) return RecordPathFault::Wildcard;
    return RecordPathFault::None;
}

bool RecordIsOwnFile(const std::string& path, const std::string& settingsPath, const std::string& exePath) {
    const std::string normalised = NormalisedPath(path);
    for (const std::string& own : {settingsPath, exePath}) {
        if (own.empty()) continue;
        if (normalised == NormalisedPath(own) || OsSameFile(path.c_str(), own.c_str())) return true;
    }
    return false;
}

std::string ReadLogFile() {
    const std::string value = LogFileValue();
    const std::string path = RecordPathOf(SettingsPath, value);
    if (path.empty() || FaultOfRecordPath(value, path) != RecordPathFault::None) return std::string();
    const std::string normalised = NormalisedPath(path);
    return normalised == NormalisedPath(SettingsPath) || normalised == NormalisedPath(ExePath) ? std::string() : path;
}
