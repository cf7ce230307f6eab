// The launch list: section "Launch" of the settings file.
#pragma once

#include <cstdint>
#include <string>

// The section that holds every entry, and the default of a text key: a value
// equal to it reads as a missing key.
extern const char kLaunchSection[];
extern const char kMissingText[];
constexpr int32_t kMissingNumber = -1;
constexpr int32_t kHighestShowState = 6;
// How long a copy waits for its WaitFor path when WaitSec is missing.
constexpr int32_t kDefaultWaitSec = 600;

// The stems of an entry's keys, in the order Postpone reads them.
enum class KeyStem { Program, CmdLine, DelaySec, WndStyle, StartIn, WaitFor, WaitSec, WaitIdle };
constexpr int kStemCount = 8;
const char* StemName(KeyStem stem);

// The name of entry n's key: the stem followed by n in decimal, no leading
// zeros. Postpone reads entries 1 to 100 alone.
std::string EntryKeyName(KeyStem stem, int n);
bool IsEntryNumber(int n);

// A delay read as -1 (or missing, which the reader makes -1) skips its entry.
bool DelayCountsAsMissing(int32_t delay);

// A show state outside 0 to 6 (or missing) starts the program hidden.
bool IsShowState(int32_t style);
int32_t ShowStateOf(int32_t style);

// The longest wait for a path, as the copy takes it: a negative one looks
// once (unlike a delay, where -1 means missing).
int32_t WaitSecondsOf(int32_t seconds);

// A wait for a quiet machine (WaitIdle): the processor's use below a
// percentage from 1 to 99; anything else (missing, empty, out of range) is no
// such wait, 0.
constexpr int32_t kLowestIdlePercent = 1;
constexpr int32_t kHighestIdlePercent = 99;
int32_t IdlePercentOf(int32_t percent);

// Why entry n is or is not started.
enum class EntryVerdict {
    Accepted,
    NoEntry,      // Program<n> missing or the default text: no entry n, as far as Postpone can tell
    NoProgram,    // Program<n> empty
    NoArguments,  // CmdLine<n> missing, empty or the default text
    NoDelay,      // DelaySec<n> missing or -1
};

// One entry as list mode hands it to its copy.
struct LaunchEntry {
    std::string Program;  // expanded
    std::string CmdLine;
    int32_t DelaySec = 0;
    int32_t WndStyle = 0;
    std::string StartIn;  // expanded; empty: the program inherits Postpone's folder
    std::string WaitFor;  // expanded; empty: the program starts after its delay alone
    int32_t WaitSec = kDefaultWaitSec;  // at least 0
    int32_t WaitIdle = 0; // 1 to 99: starts once the processor is below it; 0: does not wait for it
    int32_t Number = 0;   // n, its number in the settings file
};

// The value of a text key of section "Launch" of SettingsPath, whole up to a
// size that no command can exceed (a longer one comes back cut), or the
// default text when the key is missing.
std::string ReadSettingsText(const std::string& key);

// The value of a number key, as the profile reader makes it, or `fallback`
// when it is missing or empty.
int32_t ReadSettingsNumber(const std::string& key, int32_t fallback = kMissingNumber);

// Reads entry n of SettingsPath by the acceptance rules: its keys in the
// order Program, CmdLine, DelaySec, WndStyle, each only while the entry is
// still alive, then StartIn, WaitFor and WaitIdle for an accepted entry, and
// WaitSec only when it waits for one of them. When accepted, `entry` holds what the copy is
// given.
EntryVerdict ReadLaunchEntry(int n, LaunchEntry* entry);

// Reads entries 1 to 100 of section "Launch" of SettingsPath and appends the
// accepted ones to slots 1, 2, ... of the launch table, counting EntryCount;
// the numbers of those that name a program but are skipped go to
// SkippedEntries.
void LoadLaunchList();

// Expands %NAME% environment variables in a program path and trims the
// blanks around the result. Text without "%" is returned as it is.
std::string ExpandVariables(const std::string& text);
