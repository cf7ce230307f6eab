#include "record_writer.h"

#include "clock.h"
#include "delayed_start.h"
#include "globals.h"
#include "path_rules.h"
#include "run_record.h"

namespace {

constexpr uint32_t kRetryInterval = 10;
// A file another program holds without sharing it (a virus scanner's look,
// an editor) is tried again for 0.2 s at most.
constexpr int kOpenTries = 20;
// The other copies hold the writers' lock for one write each: 1 s covers a
// hundred of them finishing together.
constexpr int kLockTries = 100;
// The writers' lock: one byte far beyond the end of any record, so that it
// keeps no reader from a line.
constexpr uint64_t kWritersLock = uint64_t{1} << 40;

OsHandle OpenRecord(const std::string& path) {
    bool folderMade = false;
    for (int tries = 1;; ++tries) {
        const OsHandle file = OsOpenForAppending(path.c_str());
        if (file != nullptr) return file;
        const uint32_t error = OsGetLastError();
        if (error == kPathNotFound && !folderMade) {
            // The record's own folder (%LOCALAPPDATA%\Postpone) is made;
            // anything further off is a mistake that no folder should answer.
            folderMade = true;
            if (!OsCreateFolder(FolderOf(path).c_str())) return nullptr;
            continue;
        }
        if ((error != kSharingViolation && error != kLockViolation) || tries >= kOpenTries) return nullptr;
        OsSleep(kRetryInterval);
    }
}

// A local Windows file system makes each write to an append-only handle
// whole, one after the other; Wine does not (a hundred copies finishing
// together mixed their lines there), nor need a network share: the writers
// take turns.
bool LockWriters(OsHandle file) {
    for (int tries = 1;; ++tries) {
        if (OsLockByte(file, kWritersLock)) return true;
        if (OsGetLastError() != kLockViolation || tries >= kLockTries) return false;
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

std::string OlderRecordPath(const std::string& path) {
    return path + ".1";
}

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

void RecordListRun() {
    const uint32_t previousMode = OsSetErrorMode(kQuietErrorMode);
    uint64_t size = 0;
    if (OsGetFileSizeOf(LogFile.c_str(), &size) && size > kRecordLimit) {
        OsMoveFileReplacing(LogFile.c_str(), OlderRecordPath(LogFile).c_str());
    }
    OsSetErrorMode(previousMode);

    RecordLine line;
    line.time = TimeNow();
    line.list = true;
    line.accepted = EntryCount;
    line.skipped = SkippedEntries;
    line.text = SettingsPath;
    AppendRecordLine(LogFile, FormatRecordLine(line));
}

void RecordCopyFailed(int k, const std::string& copyCommand, uint32_t error) {
    RecordLine line;
    line.time = TimeNow();
    line.entry = Table.Number[k];
    line.outcome = RecordOutcome::Failed;
    line.error = error;
    line.copy = true;
    line.text = copyCommand;
    AppendRecordLine(LogFile, FormatRecordLine(line));
}

void RecordStart(const OsLocalTime& startedAt, const StartOutcome& outcome, const std::string& command,
                 int32_t waitedSeconds) {
    RecordLine line;
    line.time = RecordTime(startedAt);
    line.entry = Table.Number[0];
    line.text = command;
    if (outcome.started) {
        line.outcome = RecordOutcome::Started;
        line.processId = outcome.processId;
        line.delay = Table.DelaySec[0];
        line.waited = waitedSeconds;
        // Late against the delay, the wait for the path apart: what a busy
        // machine at logon adds.
        const int64_t due = (Table.DelaySec[0] > 0 ? Table.DelaySec[0] : 0) + (waitedSeconds > 0 ? waitedSeconds : 0);
        const int64_t elapsed = ElapsedSeconds(SecondsOfDay(startedAt), StartStamp);
        line.late = static_cast<int32_t>(elapsed > due ? elapsed - due : 0);
    } else {
        line.outcome = RecordOutcome::Failed;
        line.error = outcome.error;
    }
    AppendRecordLine(LogFile, FormatRecordLine(line));
}

void RecordWaitInVain(int32_t waitedSeconds) {
    RecordLine line;
    line.time = TimeNow();
    line.entry = Table.Number[0];
    line.outcome = RecordOutcome::NotStarted;
    line.waited = waitedSeconds;
    line.text = Table.WaitFor[0];
    AppendRecordLine(LogFile, FormatRecordLine(line));
}
