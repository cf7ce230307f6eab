// The record of starts, when the settings file names one (LogFile): what list
// mode and each copy write, one line an event, and how a line reads back.
//
// A line is plain text in the ANSI code page, ended by CR LF, its fields
// separated by a tab: the local date and time, "list" or "entry N", an
// outcome word, then details; the one free text (a path or a command) always
// comes last, so that a tab inside it takes nothing apart:
//
//   2026-12-10 08:59:02  list     read         accepted 4  skipped 3 7  c:\tools\postpone.ini
//   2026-12-10 08:59:33  entry 1  started      pid 4312  delay 30 s  late 1 s  C:\Windows\notepad.exe x.txt
//   2026-12-10 08:59:03  entry 2  failed       error 2  C:\Apps\gone.exe
//   2026-12-10 09:09:03  entry 4  not started  waited 600 s  V:\Vault
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform.h"

// The key of section "Launch" that names the record; it takes no number.
extern const char kLogFileKey[];

enum class RecordOutcome {
    Read,        // list mode read the settings file and handed its entries to copies
    Started,     // Windows started the program
    Failed,      // Windows refused the start (or the copy's own start)
    NotStarted,  // the WaitFor path did not come in time
};

struct RecordLine {
    std::string time;  // "YYYY-MM-DD HH:MM:SS", local
    bool list = false;  // list mode's line; else entry `entry`'s
    int32_t entry = 0;  // its number in the settings file (0: a copy typed by hand without /N:)
    RecordOutcome outcome = RecordOutcome::Read;
    int32_t accepted = 0;          // Read: entries handed to copies
    std::vector<int32_t> skipped;  // Read: entries that name a program but are skipped
    uint32_t processId = 0;        // Started
    int32_t delay = 0;             // Started: the delay the copy was given
    int32_t late = 0;              // Started: seconds after the delay had passed
    int32_t waited = -1;           // Started after waiting for its path, NotStarted: seconds waited; else -1
    uint32_t error = 0;            // Failed: the platform's error number
    bool copy = false;             // Failed: list mode could not start the copy itself
    std::string text;  // Read: the settings file; Started, Failed: the command; NotStarted: the path
};

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

// The record that SettingsPath names, its %NAME% variables expanded; empty
// when LogFile is missing, empty or the reader's default text, and when it
// names the settings file or Postpone itself (ExePath), which a record would
// grow and then move aside.
std::string ReadLogFile();

// The path LogFile gives, before that last rule; empty without it.
std::string LogFileAsWritten();
