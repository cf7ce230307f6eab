#include "record_check.h"

#include <algorithm>

#include "error_words.h"
#include "file_system.h"
#include "globals.h"
#include "paths.h"
#include "record_writer.h"
#include "text.h"

namespace {

// The largest record Postpone leaves, with room for the lines of one run.
constexpr uint32_t kLargestRead = kRecordFullSize + (1u << 20);
// Of a line that cannot be read, this much is shown.
constexpr size_t kShownOfBadLine = 80;

const char kSuggestedLogFile[] = "%LOCALAPPDATA%\\Postpone\\postpone.log";

enum class FileRead { Missing, Unreadable, Read };

FileRead ReadWhole(const std::string& path, std::string* contents) {
    if (!Exists(path)) return FileRead::Missing;
    contents->assign(kLargestRead, '\0');
    const int32_t read = OsReadFileStart(path.c_str(), &(*contents)[0], kLargestRead);
    if (read < 0) return FileRead::Unreadable;
    contents->resize(static_cast<size_t>(read));
    return FileRead::Read;
}

struct BadLines {
    int count = 0;
    std::string first;  // where the first lies, and what it holds
};

// Appends the lines of one file to `lines`, those it cannot parse to `bad`.
void ParseFile(const std::string& path, const std::string& contents, std::vector<RecordLine>* lines, BadLines* bad) {
    int number = 0;
    for (size_t start = 0; start < contents.size();) {
        size_t end = contents.find('\n', start);
        if (end == std::string::npos) end = contents.size();
        std::string text = contents.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.empty()) continue;
        RecordLine line;
        if (ParseRecordLine(text, &line)) {
            lines->push_back(line);
            continue;
        }
        if (bad->count++ == 0) {
            bad->first = "line " + Dec(number) + " of " + path + ": " +
                         Printable(text.substr(0, kShownOfBadLine)) + (text.size() > kShownOfBadLine ? "..." : "");
        }
    }
}

// The folder that holds `path`; a drive's root with its backslash ("C:" alone
// is the drive's current folder).
std::string HoldingFolder(const std::string& path) {
    const std::string folder = FolderOf(path);
    return folder.size() == 2 && folder[1] == ':' ? folder + "\\" : folder;
}

// Postpone makes the record's own folder, nothing above it.
void CheckRecordFolder(Report* report) {
    const std::string folder = FolderOf(LogFile);
    if (!IsFolder(HoldingFolder(LogFile)) && !IsFolder(HoldingFolder(folder))) {
        AddWarning(report, Printable("neither " + folder + " nor the folder above it exists: Postpone makes only the "
                                     "record's own folder, so it records nothing"));
    }
}

LastRun LastRunOf(const std::vector<RecordLine>& lines) {
    LastRun run;
    const auto last = std::find_if(lines.rbegin(), lines.rend(), [](const RecordLine& line) { return line.list; });
    if (last == lines.rend()) return run;
    run.known = true;
    run.time = last->time;
    run.accepted = last->accepted;
    run.skipped = last->skipped;
    for (auto line = last.base(); line != lines.end(); ++line) {
        if (line->entry != 0) run.entries[line->entry] = *line;  // a copy typed by hand without /N: is no entry
    }
    return run;
}

void AddRunSummary(const LastRun& run, Report* report) {
    int started = 0, failed = 0, notStarted = 0;
    for (const auto& entry : run.entries) {
        const RecordOutcome outcome = entry.second.outcome;
        ++(outcome == RecordOutcome::Started ? started : outcome == RecordOutcome::Failed ? failed : notStarted);
    }
    std::string summary = "last run " + run.time + ": " + Dec(started) + " started, " + Dec(failed) + " failed, " +
                          Dec(notStarted) + " not started";
    if (!run.skipped.empty()) summary += ", " + Dec(static_cast<int32_t>(run.skipped.size())) + " skipped";
    const int32_t unrecorded = run.accepted - static_cast<int32_t>(run.entries.size());
    if (unrecorded > 0) summary += ", " + Dec(unrecorded) + " not recorded (a copy may still be waiting)";
    AddLine(report, summary);
}

std::string Seconds(int32_t seconds) {
    return Dec(seconds) + " s";
}

// What became of the entry, as the line under it says it.
std::string WhatHappened(const RecordLine& line) {
    switch (line.outcome) {
        case RecordOutcome::Started:
            return "started " + line.time + ", " + (line.late > 0 ? Seconds(line.late) + " late" : "on time") +
                   (line.waited > 0 ? ", after waiting " + Seconds(line.waited) + " for its path" : "") +
                   ", process " + std::to_string(line.processId);
        case RecordOutcome::Failed: {
            const std::string meaning = WhatErrorMeans(line.error);
            return "failed " + line.time + ", " + (line.copy ? "its copy did not start: " : "") +
                   WindowsError(line.error) + (meaning.empty() ? "" : ": " + meaning);
        }
        case RecordOutcome::NotStarted:
            return "not started " + line.time + ", " + line.text + " was not there within " + Seconds(line.waited);
        case RecordOutcome::Read:
            break;
    }
    return std::string();
}

// The same for a warning that sets it against the prediction.
std::string HowItEnded(const RecordLine& line) {
    const std::string meaning = WhatErrorMeans(line.error);
    switch (line.outcome) {
        case RecordOutcome::Started:
            return "it started";
        case RecordOutcome::Failed:
            return std::string(line.copy ? "Windows refused the copy that waits for it" : "Windows refused it") +
                   " with " + WindowsError(line.error) + (meaning.empty() ? "" : " (" + meaning + ")");
        case RecordOutcome::NotStarted:
            return "its path " + line.text + " was not there within " + Seconds(line.waited);
        case RecordOutcome::Read:
            break;
    }
    return std::string();
}

}  // namespace

LastRun CheckRecord(Report* report) {
    const std::string refused = LogFile.empty() ? LogFileAsWritten() : std::string();
    if (!refused.empty()) {
        AddWarning(report, Printable(std::string(kLogFileKey) + " names " + refused + ", the settings file or Postpone "
                                     "itself: Postpone keeps no record there; give the record a name of its own"));
        return LastRun();
    }
    if (LogFile.empty()) {
        AddLine(report, std::string("note: Postpone keeps no record of what it starts: ") + kLogFileKey + "=" +
                            kSuggestedLogFile + " in [Launch] makes it write one, which postpone-check then reads "
                            "back under each entry");
        return LastRun();
    }
    AddLine(report, "record: " + Printable(LogFile));
    if (IsFolder(LogFile)) {
        AddWarning(report, Printable(LogFile) + " is a folder: Postpone records nothing there");
        return LastRun();
    }
    std::vector<RecordLine> lines;
    BadLines bad;
    bool anyFile = false;
    // The older file first: list mode moves the record there before it writes.
    for (const std::string& path : {OlderRecordPath(LogFile), LogFile}) {
        std::string contents;
        const FileRead read = ReadWhole(path, &contents);
        if (read == FileRead::Missing) continue;
        anyFile = true;
        if (read == FileRead::Unreadable) {
            AddWarning(report, Printable(path) + " cannot be read: what happened at the last run is not known");
            continue;
        }
        if (contents.size() >= kRecordFullSize) {
            AddWarning(report, Printable(path) + " is " + Dec(static_cast<int32_t>(contents.size())) +
                                   " bytes: Postpone adds nothing to a record this large (another program may have "
                                   "held it when it was to be moved to " + Printable(OlderRecordPath(LogFile)) +
                                   "); delete it");
        }
        ParseFile(Printable(path), contents, &lines, &bad);
    }
    if (!anyFile) {
        AddLine(report, "note: there is no record yet: Postpone writes it at its next run");
        CheckRecordFolder(report);
        return LastRun();
    }
    if (bad.count > 0) {
        AddWarning(report, Dec(bad.count) + (bad.count == 1 ? " line of the record is" : " lines of the record are") +
                               " not as Postpone writes them, and left out (the first, " + bad.first + ")");
    }
    const LastRun run = LastRunOf(lines);
    if (!run.known) {
        AddLine(report, "note: the record holds no run of Postpone's list mode yet");
        return run;
    }
    AddRunSummary(run, report);
    return run;
}

void ReportLastRun(int n, Prediction prediction, bool recordable, const LastRun& run, Report* report) {
    if (!run.known) return;
    const auto line = run.entries.find(n);
    const bool skipped = std::find(run.skipped.begin(), run.skipped.end(), n) != run.skipped.end();
    if (line != run.entries.end()) {
        const RecordLine& happened = line->second;
        AddLine(report, Printable("    last run: " + WhatHappened(happened)));
        const bool started = happened.outcome == RecordOutcome::Started;
        if (prediction == Prediction::Skipped) {
            AddLine(report, "note: " + EntryPrefix(n) + "the last run handed it to a copy: the settings file has "
                            "changed since");
        } else if ((prediction == Prediction::Starts) != started) {
            AddWarning(report, Printable(EntryPrefix(n) + "postpone-check expects " +
                                         (started ? "Windows to refuse it" : "it to start") + ", but at the last run, " +
                                         happened.time + ", " + HowItEnded(happened) +
                                         ": what Postpone met at logon differs from what this console sees (a drive "
                                         "or share not connected yet, a variable or PATH of this console alone, a "
                                         "file changed since)"));
        }
        return;
    }
    if (skipped) {
        AddLine(report, "    last run: skipped");
        if (prediction != Prediction::Skipped) {
            AddLine(report, "note: " + EntryPrefix(n) + "the last run skipped it: the settings file has changed since");
        }
        return;
    }
    if (prediction == Prediction::Skipped && !recordable) return;
    AddLine(report, "    last run: the record has no line of it (added since, or its copy is still waiting)");
}
