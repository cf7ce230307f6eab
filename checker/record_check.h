// What the checker reads back from the record of starts (LogFile): the last
// run of list mode, and what became of each entry in it, said beside the
// checker's own prediction.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "report.h"
#include "run_record.h"

struct LastRun {
    bool known = false;             // the record holds a line of list mode
    std::string time;               // that line's time
    std::string run;                // its tag (empty: a record of the earlier format)
    std::string machine;            // the machine it ran on, where the record names it
    int32_t accepted = 0;           // the entries it handed to copies
    std::vector<int32_t> handed;    // their numbers, where the record names them
    std::vector<int32_t> skipped;   // the entries it skipped
    // The last line of each entry of that run: with a tag, the lines that
    // carry it; in the earlier format, the lines written after it.
    std::map<int32_t, RecordLine> entries;
};

// The last run in `lines` (in the order written): the newest list line of
// `machine` where the record names machines and holds one of it, else the
// newest list line; `*listIndex` receives its place.
LastRun LastRunOf(const std::vector<RecordLine>& lines, const std::string& machine, size_t* listIndex = nullptr);

// With LogFile set: where the record lies, the last run's summary line (or
// why there is none: no record yet, one that cannot be read, lines that are
// not Postpone's), and the last run. Without it: one note on switching it on.
LastRun CheckRecord(Report* report);

// The checker's verdict on an entry.
enum class Prediction { Starts, Fails, Skipped };

// Under entry n's line: what became of it at the last run, and a warning (or,
// where the file has changed since, a note) when that is not what the
// checker predicts. `recordable`: list mode would name the entry in its line
// (it has a program key), so that a skipped entry it does not name was not
// skipped then.
void ReportLastRun(int n, Prediction prediction, bool recordable, const LastRun& run, Report* report);
