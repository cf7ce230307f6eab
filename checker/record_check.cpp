#include "record_check.h"

#include <algorithm>

#include "error_words.h"
#include "file_system.h"
#include "globals.h"
#include "launch_list.h"
#include "paths.h"
#include "run_record.h"
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

// A line that is not Postpone's: where it lies, what it holds, and how many
// lines read before it.
struct BadLine {
    size_t after;
    std::string what;
};

// Appends the lines of one file to `lines`, those it cannot parse to `bad`.
void ParseFile(const std::string& path, const std::string& contents, std::vector<RecordLine>* lines,
               std::vector<BadLine>* bad) {
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
        bad->push_back(BadLine{lines->size(), "line " + Dec(number) + " of " + path + ": " +
                                                  Printable(text.substr(0, kShownOfBadLine)) +
                                                  (text.size() > kShownOfBadLine ? "..." : "")});
    }
}

// Lines that are not Postpone's: a warning where they lie in the last run
// (what it says may be missing), a note where they lie before it (one line
// torn by a crash long ago must not hold the exit code at 1 for months).
void ReportBadLines(const std::vector<BadLine>& bad, bool runKnown, size_t listIndex, Report* report) {
    std::vector<const BadLine*> before, within;
    for (const BadLine& line : bad) (runKnown && line.after <= listIndex ? before : within).push_back(&line);
    for (const auto* group : {&before, &within}) {
        if (group->empty()) continue;
        const int count = static_cast<int>(group->size());
        const std::string text = Dec(count) + (count == 1 ? " line of the record is" : " lines of the record are") +
                                 " not as Postpone writes them, and left out (the first, " + group->front()->what +
                                 ")";
        if (group == &before) {
            AddLine(report, "note: " + text + ", all before the last run");
        } else {
            AddWarning(report, text);
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

void AddRunSummary(const LastRun& run, bool severalMachines, Report* report) {
    int started = 0, failed = 0, notStarted = 0;
    for (const auto& entry : run.entries) {
        const RecordOutcome outcome = entry.second.outcome;
        ++(outcome == RecordOutcome::Started || outcome == RecordOutcome::NoProcess ? started
           : outcome == RecordOutcome::Failed                                      ? failed
                                                                                   : notStarted);
    }
    std::string summary = "last run " + run.time + (severalMachines ? " on " + Printable(run.machine) : "") + ": " +
                          Dec(started) + " started, " + Dec(failed) + " failed, " + Dec(notStarted) + " not started";
    if (!run.skipped.empty()) summary += ", " + Dec(static_cast<int32_t>(run.skipped.size())) + " skipped";
    int32_t unrecorded = run.accepted - static_cast<int32_t>(run.entries.size());
    if (!run.run.empty()) {
        unrecorded = 0;
        for (int32_t n : run.handed) unrecorded += run.entries.count(n) == 0 ? 1 : 0;
    }
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
                   (line.quiet < 0      ? std::string()
                    : line.stillBusy    ? ", at its limit: the machine was still busy after " + Seconds(line.quiet)
                                        : ", after waiting " + Seconds(line.quiet) + " for a quiet machine") +
                   ", process " + std::to_string(line.processId);
        case RecordOutcome::Failed: {
            const std::string meaning = WhatErrorMeans(line.error);
            return "failed " + line.time + ", " + (line.copy ? "its copy did not start: " : "") +
                   WindowsError(line.error) + (meaning.empty() ? "" : ": " + meaning);
        }
        case RecordOutcome::NotStarted:
            return "not started " + line.time + ", " + line.text + " was not there within " + Seconds(line.waited);
        case RecordOutcome::NoProcess:
            return "asked for " + line.time + ", but Windows answered with neither a process nor an error: whether it "
                   "started is not known";
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
        case RecordOutcome::NoProcess:
            return "Windows answered with neither a process nor an error";
        case RecordOutcome::Read:
            break;
    }
    return std::string();
}

// Where Postpone cannot write the record LogFile names (`path`), why; empty
// where it can.
std::string WhyNotWritten(const std::string& path) {
    const std::string value = ExpandVariables(ReadSettingsText(kLogFileKey));
    const std::string key = kLogFileKey;
    switch (FaultOfRecordPath(value, path)) {
        case RecordPathFault::TooLong:
            return key + " names a path of " + Dec(static_cast<int32_t>(path.size())) + " characters, " + path +
                   ": Postpone writes through the ANSI file functions, which take fewer than 260; it records nothing";
        case RecordPathFault::Wildcard:
            return key + " names " + path + ", with a \"?\" or \"*\", which no file name holds (a character the ANSI "
                   "code page cannot spell, say of a user name in another script, becomes \"?\"): Postpone records "
                   "nothing; name a folder that the code page can spell";
        case RecordPathFault::DriveRelative:
            return key + "=" + value + " is relative to a drive's current folder, which a logon does not set: Postpone "
                   "records nothing; write the full path (" + value.substr(0, 2) + "\\...)";
        case RecordPathFault::None:
            break;
    }
    if (RecordIsOwnFile(path, SettingsPath, ExePath)) {
        return key + " names " + path + ", the settings file or Postpone itself: Postpone keeps no record there; give "
               "the record a name of its own";
    }
    return std::string();
}

}  // namespace

LastRun LastRunOf(const std::vector<RecordLine>& lines, const std::string& machine, size_t* listIndex) {
    LastRun run;
    size_t unused = 0;
    if (listIndex == nullptr) listIndex = &unused;
    // The newest list line, and the newest of this machine.
    size_t newest = lines.size(), own = lines.size();
    for (size_t i = lines.size(); i-- > 0;) {
        if (!lines[i].list) continue;
        if (newest == lines.size()) newest = i;
        if (!lines[i].machine.empty() && LowerCase(lines[i].machine) == LowerCase(machine)) {
            own = i;
            break;
        }
    }
    const size_t chosen = own < lines.size() ? own : newest;
    if (chosen == lines.size()) return run;
    const RecordLine& list = lines[chosen];
    *listIndex = chosen;
    run.known = true;
    run.time = list.time;
    run.run = list.run;
    run.machine = list.machine;
    run.accepted = list.accepted;
    run.handed = list.handed;
    run.skipped = list.skipped;
    // A copy typed by hand without /N: is no entry. With a tag, a line
    // belongs to its run wherever it lies; without one, the lines after
    // the list line are taken as its run's.
    for (size_t i = list.run.empty() ? chosen + 1 : 0; i < lines.size(); ++i) {
        const RecordLine& line = lines[i];
        if (line.list || line.entry == 0 || line.run != list.run) continue;
        run.entries[line.entry] = line;
    }
    return run;
}

LastRun CheckRecord(Report* report) {
    const std::string asWritten = LogFileAsWritten();
    const std::string refused = !asWritten.empty() ? WhyNotWritten(asWritten) : std::string();
    if (!refused.empty()) {
        AddWarning(report, Printable(refused));
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
    std::vector<BadLine> bad;
    bool anyFile = false;
    // The older file first: list mode moves the record there before it writes.
    for (const std::string& path : {OlderRecordPath(LogFile), LogFile}) {
        std::string contents;
        const FileRead read = ReadWhole(path, &contents);
        if (read == FileRead::Missing) continue;
        anyFile = true;
        if (read == FileRead::Unreadable && path != LogFile) {
            AddLine(report, "note: " + Printable(path) + ", the record's older part, cannot be read: the runs before "
                            "it was moved aside are left out");
            continue;
        }
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
    size_t listIndex = 0;
    const LastRun run = LastRunOf(lines, MachineName(), &listIndex);
    ReportBadLines(bad, run.known, listIndex, report);
    if (!run.known) {
        AddLine(report, "note: the record holds no run of Postpone's list mode yet");
        return run;
    }
    bool severalMachines = false;
    for (const RecordLine& line : lines) {
        severalMachines = severalMachines || (line.list && LowerCase(line.machine) != LowerCase(run.machine));
    }
    AddRunSummary(run, severalMachines, report);
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
        // Why the two may differ, for each way round.
        const char* const kWhyStartedSince =
            ": the program may have been removed or moved since, or this console lacks what the logon gave Postpone "
            "(a drive or share it had mapped, a variable of the logon)";
        const char* const kWhyRefusedThen =
            ": what Postpone met at logon differs from what this console sees (a drive or share not connected yet, a "
            "variable or PATH of this console alone, a program installed or a file changed since)";
        if (prediction == Prediction::Skipped) {
            AddLine(report, "note: " + EntryPrefix(n) + "the last run handed it to a copy: the settings file has "
                            "changed since");
        } else if (happened.outcome != RecordOutcome::NoProcess && (prediction == Prediction::Starts) != started) {
            AddWarning(report, Printable(EntryPrefix(n) + "postpone-check expects " +
                                         (started ? "Windows to refuse it" : "it to start") + ", but at the last run, " +
                                         happened.time + ", " + HowItEnded(happened) +
                                         (started ? kWhyStartedSince : kWhyRefusedThen)));
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
