// Reading a line of the record of starts back, for the checker: apart from
// the writing, so that Postpone.exe, which never reads its record, does not
// carry it.
#include "run_record.h"

#include "globals.h"
#include "launch_list.h"

namespace {

constexpr char kTab = '\t';

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "YYYY-MM-DD HH:MM:SS", digit for digit.
bool IsRecordTime(const std::string& text) {
    static const char kShape[] = "dddd-dd-dd dd:dd:dd";
    if (text.size() != sizeof kShape - 1) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (kShape[i] == 'd' ? !IsDigit(text[i]) : text[i] != kShape[i]) return false;
    }
    return true;
}

// A decimal integer as Dec writes it: an optional "-", then 1 to 18 digits.
bool ReadInteger(const std::string& text, int64_t* value) {
    const size_t first = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() == first || text.size() - first > 18) return false;
    int64_t magnitude = 0;
    for (size_t i = first; i < text.size(); ++i) {
        if (!IsDigit(text[i])) return false;
        magnitude = magnitude * 10 + (text[i] - '0');
    }
    *value = first == 1 ? -magnitude : magnitude;
    return true;
}

// A field "LABEL N UNIT" ("delay 30 s", "pid 4312"), N within [low, high].
bool ReadField(const std::string& field, const std::string& label, const std::string& unit, int64_t low, int64_t high,
               int64_t* value) {
    const std::string head = label + " ";
    if (field.size() < head.size() + unit.size() || field.compare(0, head.size(), head) != 0 ||
        field.compare(field.size() - unit.size(), unit.size(), unit) != 0) {
        return false;
    }
    return ReadInteger(field.substr(head.size(), field.size() - head.size() - unit.size()), value) && *value >= low &&
           *value <= high;
}

constexpr int64_t kInt32Low = -2147483647LL - 1;
constexpr int64_t kInt32High = 2147483647LL;
constexpr int64_t kUint32High = 4294967295LL;
constexpr int64_t kSecondsHigh = kInt32High;

// "LABEL none" or "LABEL 3 7 12" ("skipped", "entries").
bool ReadNumbers(const std::string& field, const std::string& label, std::vector<int32_t>* numbers) {
    if (field == label + " none") return true;
    const std::string head = label + " ";
    if (field.compare(0, head.size(), head) != 0) return false;
    for (size_t start = head.size(); start <= field.size();) {
        size_t end = field.find(' ', start);
        if (end == std::string::npos) end = field.size();
        int64_t n = 0;
        if (!ReadInteger(field.substr(start, end - start), &n) || !IsEntryNumber(static_cast<int>(n))) return false;
        numbers->push_back(static_cast<int32_t>(n));
        start = end + 1;
    }
    return !numbers->empty();
}

// The details of list mode's line from fields[i] on; `*next` is left at the
// free text.
bool ReadListDetails(const std::vector<std::string>& fields, size_t i, size_t* next, RecordLine* line) {
    const bool tagged = !line->run.empty();
    int64_t value = 0;
    if (i + (tagged ? 5 : 3) >= fields.size() || fields[i++] != "read") return false;
    if (!ReadField(fields[i++], "accepted", "", 0, kMaxEntries, &value)) return false;
    line->accepted = static_cast<int32_t>(value);
    if (tagged && !ReadNumbers(fields[i++], "entries", &line->handed)) return false;
    if (!ReadNumbers(fields[i++], "skipped", &line->skipped)) return false;
    if (tagged) {
        if (fields[i].compare(0, 8, "machine ") != 0) return false;
        line->machine = fields[i++].substr(8);
    }
    *next = i;
    return true;
}

// The details of an entry's line from fields[i] on; `*next` is left at the
// free text.
bool ReadEntryDetails(const std::vector<std::string>& fields, size_t i, size_t* next, RecordLine* line) {
    int64_t value = 0;
    switch (line->outcome) {
        case RecordOutcome::Started:
        case RecordOutcome::NoProcess:
            if (i + 2 >= fields.size()) return false;
            if (line->outcome == RecordOutcome::Started) {
                if (i + 3 >= fields.size() || !ReadField(fields[i++], "pid", "", 0, kUint32High, &value)) return false;
                line->processId = static_cast<uint32_t>(value);
            }
            if (!ReadField(fields[i++], "delay", " s", kInt32Low, kInt32High, &value)) return false;
            line->delay = static_cast<int32_t>(value);
            if (!ReadField(fields[i++], "late", " s", 0, kSecondsHigh, &value)) return false;
            line->late = static_cast<int32_t>(value);
            if (i + 1 < fields.size() && ReadField(fields[i], "waited", " s", 0, kSecondsHigh, &value)) {
                line->waited = static_cast<int32_t>(value);
                ++i;
            }
            for (const bool busy : {false, true}) {
                if (i + 1 < fields.size() &&
                    ReadField(fields[i], busy ? "still busy after" : "quiet after", " s", 0, kSecondsHigh, &value)) {
                    line->quiet = static_cast<int32_t>(value);
                    line->stillBusy = busy;
                    ++i;
                    break;
                }
            }
            break;
        case RecordOutcome::Failed:
            if (i + 1 >= fields.size() || !ReadField(fields[i++], "error", "", 0, kUint32High, &value)) return false;
            line->error = static_cast<uint32_t>(value);
            if (i + 1 < fields.size() && fields[i] == "copy") {
                line->copy = true;
                ++i;
            }
            break;
        case RecordOutcome::NotStarted:
            if (i + 1 >= fields.size() || !ReadField(fields[i++], "waited", " s", 0, kSecondsHigh, &value)) return false;
            line->waited = static_cast<int32_t>(value);
            break;
        case RecordOutcome::Read:
            return false;
    }
    *next = i;
    return true;
}

}  // namespace

bool ParseRecordLine(const std::string& text, RecordLine* line) {
    std::vector<std::string> fields;
    for (size_t start = 0;;) {
        const size_t tab = text.find(kTab, start);
        fields.push_back(text.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    if (fields.size() < 4 || !IsRecordTime(fields[0])) return false;

    RecordLine parsed;
    parsed.time = fields[0];
    size_t i = 1;
    if (fields[i].compare(0, 4, "run ") == 0) {
        parsed.run = fields[i++].substr(4);
        if (!IsRunTag(parsed.run)) return false;
    }
    size_t next = 0;
    int64_t value = 0;
    if (fields[i] == "list") {
        parsed.list = true;
        if (!ReadListDetails(fields, i + 1, &next, &parsed)) return false;
    } else {
        if (!ReadField(fields[i++], "entry", "", kInt32Low, kInt32High, &value)) return false;
        parsed.entry = static_cast<int32_t>(value);
        const std::string& word = fields[i++];
        if (word == "started") {
            parsed.outcome = RecordOutcome::Started;
        } else if (word == "no process") {
            parsed.outcome = RecordOutcome::NoProcess;
        } else if (word == "failed") {
            parsed.outcome = RecordOutcome::Failed;
        } else if (word == "not started") {
            parsed.outcome = RecordOutcome::NotStarted;
        } else {
            return false;
        }
        if (!ReadEntryDetails(fields, i, &next, &parsed)) return false;
    }
    for (size_t i = next; i < fields.size(); ++i) parsed.text += (i == next ? "" : "\t") + fields[i];
    *line = parsed;
    return true;
}
