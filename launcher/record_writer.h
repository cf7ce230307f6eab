// Writing the record of starts: list mode's line, and each copy's when it is
// done. Nothing here may cost a start anything: list mode writes only once
// every copy has started, a copy only once its program has, and a record
// that cannot be written (a read-only folder, a drive that is not there, a
// share whose server does not answer, a file an editor holds, a full disk) is
// left as it is, silently.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform.h"
#include "process_start.h"

// Appends `line` and CR LF to the record at `path`, as one write, while no
// other copy writes; creates the record, and its folder when only that is
// missing. False when it could not be written.
bool AppendRecordLine(const std::string& path, const std::string& line);

// A copy that list mode could not start: the entry's slot, its command line
// and the platform's error.
struct CopyFailure {
    int slot;
    std::string command;
    uint32_t error;
};

// The tag of this run of list mode: made from the machine's name, the
// process, the tick count and the time, so that two logons of one machine
// and two machines on one record do not share it.
std::string MakeRunTag();

// List mode, with LogFile set, once every copy has been started: moves the
// record aside when it is over the limit, then writes what it read (the
// entries handed to copies, those skipped) and each copy that did not start.
void RecordListRun(const std::vector<CopyFailure>& failures);

// How a copy's start came about: the seconds it slept and looked longer than
// it asked, those it waited for its WaitFor path and for a quiet machine (-1:
// it has no such wait), and whether the machine was still busy at the limit.
struct StartWaits {
    int32_t lateSeconds = 0;
    int32_t pathSeconds = -1;
    int32_t quietSeconds = -1;
    bool limitPassed = false;
};

// A copy: its program's start, asked for at `startedAt`.
void RecordStart(const OsLocalTime& startedAt, const StartOutcome& outcome, const std::string& command,
                 const StartWaits& waits);

// A copy whose WaitFor path did not come within its WaitSec.
void RecordWaitInVain(int32_t waitedSeconds);
