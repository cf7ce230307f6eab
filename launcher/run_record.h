// The record of starts, when the settings file names one (LogFile): what list
// mode and each copy write, one line an event, and how a line reads back.
//
// A line is plain text in the ANSI code page, ended by CR LF, its fields
// separated by a tab: the local date and time, the run's tag, "list" or
// "entry N", an outcome word, then details; the one free text (a path or a
// command) always comes last, so that a tab inside it takes nothing apart:
//
//   2026-12-10 08:59:02  run 3f9a1c2e  list     read  accepted 3  entries 1 2 4  skipped 3 7  machine PC1  c:\tools\postpone.ini
//   2026-12-10 08:59:33  run 3f9a1c2e  entry 1  started      pid 4312  delay 30 s  late 1 s  C:\Windows\notepad.exe x.txt
//   2026-12-10 08:59:03  run 3f9a1c2e  entry 2  failed       error 2  C:\Apps\gone.exe
//   2026-12-10 09:09:03  run 3f9a1c2e  entry 4  not started  waited 600 s  V:\Vault
//   2026-12-10 09:00:14  run 3f9a1c2e  entry 5  started      pid 4420  delay 60 s  late 0 s  quiet after 12 s  C:\Apps\sync.exe
//   2026-12-10 09:10:02  run 3f9a1c2e  entry 6  started      pid 4424  delay 0 s  late 0 s  still busy after 600 s  C:\Apps\mail.exe
//
// The tag is list mode's own, handed to each copy: a late copy of an earlier
// run (Postpone started twice at one logon, several machines on one record)
// is told apart from the newer run's. Records of the earlier format (lines
// without the tag, a list line without its entries and machine) read back as
// well; a copy started by hand without /R: still writes such a line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform.h"

// The key of section "Launch" that names the record; it takes no number.
extern const char kLogFileKey[];

// List mode moves a record over this size to the same name with ".1" added
// before it writes, so that at most two files are ever kept.
constexpr uint64_t kRecordLimit = 256 * 1024;
// No line is added to a file this large: where the record cannot be moved
// aside (another program holds it without sharing), it still stays bounded.
constexpr uint64_t kRecordFullSize = 4u << 20;

// The name the record is moved to.
std::string OlderRecordPath(const std::string& path);

enum class RecordOutcome {
    Read,        // list mode read the settings file and handed its entries to copies
    Started,     // Windows started the program
    Failed,      // Windows refused the start (or the copy's own start)
    NotStarted,  // the WaitFor path did not come in time
    NoProcess,   // Windows answered the start with neither a process nor an error
};

struct RecordLine {
    std::string time;  // "YYYY-MM-DD HH:MM:SS", local
    std::string run;   // the run's tag; empty in a line of the earlier format
    bool list = false;  // list mode's line; else entry `entry`'s
    int32_t entry = 0;  // its number in the settings file (0: a copy typed by hand without /N:)
    RecordOutcome outcome = RecordOutcome::Read;
    int32_t accepted = 0;          // Read: entries handed to copies
    std::vector<int32_t> handed;   // Read, with a tag: the entries handed to copies
    std::vector<int32_t> skipped;  // Read: entries that name a program but are skipped
    std::string machine;           // Read, with a tag: the machine's name
    uint32_t processId = 0;        // Started
    int32_t delay = 0;             // Started, NoProcess: the delay the copy was given
    int32_t late = 0;              // Started, NoProcess: seconds it slept and looked longer than it asked
    int32_t waited = -1;           // Started after waiting for its path, NotStarted: seconds waited; else -1
    int32_t quiet = -1;            // Started after waiting for a quiet machine: seconds waited; else -1
    bool stillBusy = false;        // ... and the machine was still busy when its limit passed
    uint32_t error = 0;            // Failed: the platform's error number
    bool copy = false;             // Failed: list mode could not start the copy itself
    std::string text;  // Read: the settings file; Started, Failed, NoProcess: the command; NotStarted: the path
};

// This machine's name, as the list line names it.
std::string MachineName();

// A run's tag: eight hexadecimal digits.
bool IsRunTag(const std::string& text);

// "2026-12-10 08:59:02".
std::string RecordTime(const OsLocalTime& time);

// The line without its CR LF. A line break inside the free text is written as
// <0x0D> and <0x0A>, so that every event stays one line.
std::string FormatRecordLine(const RecordLine& line);

// Reads back a line as FormatRecordLine writes it (without its line end);
// false for anything else.
bool ParseRecordLine(const std::string& text, RecordLine* line);

// Where the record lies for a LogFile value of the settings file at
// `settingsPath`: a relative value is taken from the settings file's folder.
std::string RecordPathOf(const std::string& settingsPath, const std::string& value);

// Why Postpone cannot write a record at a LogFile value (expanded) that lies
// at `path`, by the rules of the ANSI file functions it writes through.
enum class RecordPathFault {
    None,
    TooLong,        // MAX_PATH (260) characters or more
    Wildcard,       // a "?" or "*": a character the ANSI code page could not spell, or a typing slip
    DriveRelative,  // "C:p.log": relative to a drive's current folder, which a logon does not set
};
RecordPathFault FaultOfRecordPath(const std::string& value, const std::string& path);

// True when the record at `path` is the settings file or Postpone itself,
// which a record would grow and then move aside: the files themselves are
// compared where both can be opened, their normalised full paths otherwise.
bool RecordIsOwnFile(const std::string& path, const std::string& settingsPath, const std::string& exePath);

// The record that SettingsPath names, its %NAME% variables expanded; empty
// when LogFile is missing, empty or the reader's default text, when it cannot
// be written (FaultOfRecordPath), and when its path names the settings file
// or Postpone itself (ExePath) in another spelling. Nothing here touches the
// record's path: list mode reads it before it starts any copy.
std::string ReadLogFile();

// The path LogFile gives, before those last rules; empty without it.
std::string LogFileAsWritten();
