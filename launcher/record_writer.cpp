#include "record_writer.h"

#include "globals.h"
#include "path_rules.h"
#include "run_record.h"

namespace {

constexpr uint32_t kRetryInterval = 10;
// A file another program holds without sharing it (a virus scanner's look,
// an editor) is tried again for 0.19 s at most.
constexpr uint32_t kOpenBudgetMs = 190;
// The other copies hold the writers' lock for one write each: 0.99 s covers
// a hundred of them finishing together.
constexpr uint32_t kLockBudgetMs = 990;
// The writers' lock: one byte far beyond the end of any record, so that it
// keeps no reader from a line.
constexpr uint64_t kWritersLock = uint64_t{1} << 40;

// The budgets are counted by the tick count, not in sleeps: a Sleep(10)
// lasts a clock tick, about 15.6 ms ("Sleep": "the resolution of the system
// clock"), so counted sleeps would wait half as long again as they say.
bool WithinBudget(uint32_t since, uint32_t budgetMs) {
    return static_cast<uint32_t>(OsGetTickCount() - since) < budgetMs;
}

OsHandle OpenRecord(const std::string& path) {
    bool folderMade = false;
    const uint32_t since = OsGetTickCount();
    for (;;) {
        const OsHandle file = OsOpenForAppending(path.c_str());
        if (file != nullptr) return file;
        const uint32_t error = OsGetLastError();
        if (error == kPathNotFound && !folderMade) {
            // The record's own folder (%LOCALAPPDATA%\Postpone) is made;
            // anything further off is a mistake that no folder should answer.
            // Another copy may make it first: then it is there all the same.
            folderMade = true;
            if (!OsCreateFolder(FolderOf(path).c_str()) && OsGetLastError() != kAlreadyExists) return nullptr;
            continue;
        }
        if ((error != kSharingViolation && error != kLockViolation) || !WithinBudget(since, kOpenBudgetMs)) {
            return nullptr;
        }
        OsSleep(kRetryInterval);
    }
}

// A local Windows file system makes each write to an append-only handle
// whole, one after the other; Wine does not (a hundred copies finishing
// together mixed their lines there), nor need a network share: the writers
// take turns.
bool LockWriters(OsHandle file) {
    const uint32_t since = OsGetTickCount();
    for (;;) {
        if (OsLockByte(file, kWritersLock)) return true;
        if (OsGetLastError() != kLockViolation || !WithinBudget(since, kLockBudgetMs)) return false;
        OsSleep(kRetryInterval);
    }
}

bool WriteLine(OsHandle file, const std::string& line) {
    uint64_t size = 0;
    if (!OsGetFileSize(file, &size) || size >= kRecordFullSize) return false;
    // A line cut short by a full disk, or a record saved by an editor without
    // its last line end: this line starts on a line of its own all the same.
    std::string text = line + "\r\n";
    char last = '\n';
    if (size > 0 && OsReadAt(file, size - 1, &last, 1) == 1 && last != '\n') text.insert(0, "\r\n");
    return OsWriteAtEnd(file, text.data(), static_cast<uint32_t>(text.size()));
}

std::string TimeNow() {
    OsLocalTime now = {0, 0, 0, 0, 0, 0, 0};
    OsGetLocalTime(&now);
    return RecordTime(now);
}

}  // namespace

bool AppendRecordLine(const std::string& path, const std::string& line) {
    // A record on a drive with no disk in it, or on a share that is gone,
    // must not raise a system box.
    const uint32_t previousMode = OsSetErrorMode(kQuietErrorMode);
    bool written = false;
    const OsHandle file = OpenRecord(path);
    if (file != nullptr) {
        // Without the lock (a file system that has none) the line is written
        // all the same: one line at risk is better than one lost.
        const bool locked = LockWriters(file);
        written = WriteLine(file, line);
        if (locked) OsUnlockByte(file, kWritersLock);
        OsCloseHandle(file);
    }
    OsSetErrorMode(previousMode);
    return written;
}

namespace {

// The copy's record may not be the settings file or Postpone itself: asked
// of the files themselves, once every start is done.
bool RecordMayBeWritten() {
    return !RecordIsOwnFile(LogFile, SettingsPath, ExePath);
}

RecordLine LineOfRun() {
    RecordLine line;
    line.time = TimeNow();
    line.run = RunTag;
    return line;
}

void AppendToRecord(const RecordLine& line) {
    AppendRecordLine(LogFile, FormatRecordLine(line));
}

// 0 to 15 as a lower-case hexadecimal digit.
char HexDigit(uint32_t value) {
    return "0123456789abcdef"[value & 15];
}

}  // namespace

std::string MakeRunTag() {
    OsLocalTime now = {0, 0, 0, 0, 0, 0, 0};
    OsGetLocalTime(&now);
    // FNV-1a over what sets this run apart.
    const std::string seed = MachineName() + "|" +
                             std::to_string(OsGetCurrentProcessId()) + "|" + std::to_string(OsGetTickCount()) + "|" +
                             RecordTime(now) + "." + std::to_string(now.milliseconds);
    uint32_t hash = 2166136261u;
    for (char c : seed) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    std::string tag;
    for (int shift = 28; shift >= 0; shift -= 4) tag += HexDigit(hash >> shift);
    return tag;
}

void RecordListRun(const std::vector<CopyFailure>& failures) {
    if (!RecordMayBeWritten()) return;
    const uint32_t previousMode = OsSetErrorMode(kQuietErrorMode);
    uint64_t size = 0;
    if (OsGetFileSizeOf(LogFile.c_str(), &size) && size > kRecordLimit) {
        OsMoveFileReplacing(LogFile.c_str(), OlderRecordPath(LogFile).c_str());
    }
    OsSetErrorMode(previousMode);

    RecordLine line = LineOfRun();
    line.list = true;
    line.accepted = EntryCount;
    for (int k = 1; k <= EntryCount; ++k) line.handed.push_back(Table.Number[k]);
    line.skipped = SkippedEntries;
    line.machine = MachineName();
    line.text = SettingsPath;
    AppendToRecord(line);
    for (const CopyFailure& failure : failures) {
        RecordLine failed = LineOfRun();
        failed.entry = Table.Number[failure.slot];
        failed.outcome = RecordOutcome::Failed;
        failed.error = failure.error;
        failed.copy = true;
        failed.text = failure.command;
        AppendToRecord(failed);
    }
}

void RecordStart(const OsLocalTime& startedAt, const StartOutcome& outcome, const std::string& command,
                 const StartWaits& waits) {
    if (!RecordMayBeWritten()) return;
    RecordLine line = LineOfRun();
    line.time = RecordTime(startedAt);
    line.entry = Table.Number[0];
    line.text = command;
    if (outcome.started) {
        // A false return with no error: Windows said neither that it started
        // the program nor why not.
        line.outcome = outcome.noProcess ? RecordOutcome::NoProcess : RecordOutcome::Started;
        line.processId = outcome.processId;
        line.delay = Table.DelaySec[0];
        line.waited = waits.pathSeconds;
        line.late = waits.lateSeconds;
        line.quiet = waits.quietSeconds;
        line.stillBusy = waits.limitPassed;
    } else {
        line.outcome = RecordOutcome::Failed;
        line.error = outcome.error;
    }
    AppendToRecord(line);
}

void RecordWaitInVain(int32_t waitedSeconds) {
    if (!RecordMayBeWritten()) return;
    RecordLine line = LineOfRun();
    line.entry = Table.Number[0];
    line.outcome = RecordOutcome::NotStarted;
    line.waited = waitedSeconds;
    line.text = Table.WaitFor[0];
    AppendToRecord(line);
}
