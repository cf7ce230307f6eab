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

std::string FormatRecordLine(const RecordLine& line) {
    std::string text = line.time + kTab + (line.list ? std::string("list") : "entry " + Dec(line.entry)) + kTab;
    switch (line.outcome) {
        case RecordOutcome::Read:
            text += "read\taccepted " + Dec(line.accepted) + "\tskipped";
            if (line.skipped.empty()) text += " none";
            for (int32_t n : line.skipped) text += " " + Dec(n);
            break;
        case RecordOutcome::Started:
            text += "started\tpid " + std::to_string(line.processId) + "\tdelay " + Dec(line.delay) + " s\tlate " +
                    Dec(line.late) + " s";
            if (line.waited >= 0) text += "\twaited " + Dec(line.waited) + " s";
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

std::string LogFileAsWritten() {
    const std::string value = ReadSettingsText(kLogFileKey);
    if (value.empty() || value == kMissingText) return std::string();
    return RecordPathOf(SettingsPath, ExpandVariables(value));
}

std::string ReadLogFile() {
    const std::string path = LogFileAsWritten();
    const std::string lower = LowerCase(path);
    return lower == LowerCase(SettingsPath) || lower == LowerCase(ExePath) ? std::string() : path;
}
