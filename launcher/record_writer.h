// Writing the record of starts: list mode's line, and each copy's when it is
// done. Nothing here may cost a start anything: a record that cannot be
// written (a read-only folder, a drive that is not there, a file an editor
// holds, a full disk) is left as it is, silently, within a moment.
#pragma once

#include <cstdint>
#include <string>

#include "platform.h"
#include "process_start.h"

// List mode moves a record over this size to the same name with ".1" added
// before it writes, so that at most two files are ever kept.
constexpr uint64_t kRecordLimit = 256 * 1024;
// No line is added to a file this large: where the record cannot be moved
// aside (another program holds it without sharing), it still stays bounded.
constexpr uint64_t kRecordFullSize = 4u << 20;

// The name the record is moved to.
std::string OlderRecordPath(const std::string& path);

// Appends `line` and CR LF to the record at `path`, as one write, while no
// other copy writes; creates the record, and its folder when only that is
// missing. False when it could not be written.
bool AppendRecordLine(const std::string& path, const std::string& line);

// List mode, with LogFile set: moves the record aside when it is over the
// limit, then writes what it read (the entries accepted, those skipped).
void RecordListRun();

// List mode: the copy for the entry in slot k did not start.
void RecordCopyFailed(int k, const std::string& copyCommand, uint32_t error);

// A copy: its program's start, asked for at `startedAt`, and the seconds it
// waited for its WaitFor path first (-1: it has none).
void RecordStart(const OsLocalTime& startedAt, const StartOutcome& outcome, const std::string& command,
                 int32_t waitedSeconds);

// A copy whose WaitFor path did not come within its WaitSec.
void RecordWaitInVain(int32_t waitedSeconds);
