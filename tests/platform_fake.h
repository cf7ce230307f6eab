// The test double of the platform layer: scripts what Windows would return and
// records what the launcher asked of it.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform.h"
#include "registry.h"
#include "shell.h"

// Thrown by OsExitProcess so that a test can see the exit code.
struct FakeExit {
    uint32_t code;
};

// What one CreateProcess call should do. By default it succeeds.
struct FakeStart {
    bool succeeds = true;
    uint32_t lastError = 0;
    uint32_t processId = 0;      // 0: the next free identifier
    bool giveHandles = true;
    uint32_t exitCode = 0;       // read back after a wait
    bool exitCodeReadable = true;
};

struct FakeCreateCall {
    std::string command;
    uint32_t show;
    uint32_t flags = 0;
    bool folderGiven = false;  // false: the launcher's own current folder
    std::string folder;
    int64_t atMs = 0;  // the clock when it was asked
};

struct FakeMessageBox {
    std::string text;
    std::string title;
    uint32_t style;
};

// One key of a profile file as the profile reader delivers it; an empty key
// stands for a section that has no keys.
struct FakeProfileLine {
    std::string section;
    std::string key;
    std::string value;
};

// What the checker's file wrappers see of one path.
struct FakeFile {
    bool folder = false;
    bool readable = true;
    std::string start;  // the file's first bytes
};

struct FakePlatform {
    // Scripted.
    std::string commandLine;
    std::string moduleFileName;
    // Profile keys as the profile reader delivers them, by path, in file order.
    std::map<std::string, std::vector<FakeProfileLine>> profiles;
    std::map<std::string, std::string> environment;  // by upper-cased name
    bool expansionFails = false;
    // As Wine does for a quoted value: one that exactly fills the buffer comes
    // back one character short.
    bool profileLosesLastOfFullValue = false;
    // As Windows may do for ANSI text: a buffer of exactly the size needed
    // gets the text one character short.
    bool expansionNeedsSpareByte = false;
    std::vector<uint32_t> expansionSizes;  // the buffer sizes offered
    std::set<std::string> existingPaths;
    std::deque<FakeStart> starts;
    uint32_t lastErrorAfterSuccess = 0;  // a stale value left by a successful start
    int64_t clockMs = 10 * 3600000;     // local time of day; sleeps move it on
    uint16_t year = 2026, month = 12, day = 10;  // the date at clockMs 0 (a day later past 24 h)
    std::deque<int64_t> clockReadings;   // read first, when present
    uint32_t tickOffset = 0;             // the tick count is the clock plus this
    // Folders that come into being when the clock reaches a time (a volume
    // opened, a drive reconnected), and how long one look at a path takes.
    std::map<std::string, int64_t> pathsAppearAt;
    int64_t lookMs = 0;
    // How Windows sleeps: a Sleep lasts a whole number of clock ticks (about
    // 15.6 ms each; 0: exactly as asked), and on a busy machine the next one
    // lasts longer still (once).
    int64_t sleepTickMs = 0;
    int64_t nextSleepOverrunMs = 0;
    std::string computerName = "PC1";
    // The processor's use in percent, second by second of the clock from
    // processorFrom on (the last figure holds after it), and the counters'
    // value at processorFrom (near 2^64, they wrap).
    std::vector<int> processorBusy = {0};
    int64_t processorFrom = 0;
    uint64_t processorBase = 0;
    // Another copy holds the turn of the copies that wait for a quiet machine
    // over these spans of the clock, [from, to).
    std::vector<std::pair<int64_t, int64_t>> otherTurns;
    // The checker's view of the file system: files by full path (a profile
    // file is there too); the current folder that relative paths start from.
    std::map<std::string, FakeFile> files;
    std::string currentFolder = "C:\\Users\\me";
    // What the checker reads of logon and of programs: shortcuts by path, the
    // two Startup folders, registry values by "HKCU|64|subkey" (or HKLM, 32),
    // manifests by program path, other spellings of a file (path to the one
    // it names), the process's bitness and code page, the console.
    std::map<std::string, OsShellLink> shellLinks;  // as stored: a raw target
    OsShellLinkRead shellLinkFailure = OsShellLinkRead::NotAShortcut;  // for a path not in shellLinks
    std::string userStartup = "C:\\Users\\me\\Start Menu\\Programs\\Startup";
    std::string commonStartup = "C:\\ProgramData\\Start Menu\\Programs\\Startup";
    std::map<std::string, std::vector<OsRegistryValue>> registry;
    std::set<std::string> unreadableKeys;  // read only up to the values given
    std::map<std::string, std::string> manifests;
    std::map<std::string, std::string> sameFiles;
    bool wow64 = false;
    bool twoRegistryViews = true;  // false: 32-bit Windows
    uint16_t nativeMachine = 0x8664;  // the machine Windows runs on
    bool elevated = false;         // the checker runs as administrator
    std::set<std::string> networkDrives;  // roots such as "Z:\\"
    std::set<std::string> unlistableFolders;  // listed only in part
    uint32_t ansiCodePage = 1252;
    // The record of starts: its contents are files[path].start. The last
    // errors of the next opens for appending (0: it opens), whether another
    // writer holds the writers' lock (for so many tries; -1: for good),
    // whether writes fail (a full disk).
    std::deque<uint32_t> appendOpenErrors;
    int lockRefusals = 0;
    bool writesFail = false;
    // A share whose server does not answer: each file operation on a path
    // that starts with this blocks for slowPathMs (the SMB client's time-out).
    std::string slowPathPrefix;
    int64_t slowPathMs = 60000;
    bool consoleIsItsOwn = false;
    // Writing the settings file (postpone-check /add): files that may not be
    // replaced (read-only, or in a folder the user may not write), a disk
    // that fills after so many bytes of a new file (-1: never), and files
    // another program changes while a new one is written.
    std::set<std::string> readOnlyFiles;
    int64_t diskFullAfter = -1;
    std::map<std::string, std::string> changedWhileWriting;
    int keysWaitedFor = 0;

    // Recorded.
    std::vector<std::string> calls;  // every wrapper called, in order, with its main argument
    std::vector<std::string> profileKeysRead;
    std::vector<std::string> searchedPaths;
    std::vector<FakeCreateCall> created;
    std::vector<uint32_t> sleeps;
    std::vector<FakeMessageBox> boxes;
    std::vector<uintptr_t> closedHandles;
    std::vector<uintptr_t> waitedHandles;
    int openSearches = 0;
    uint32_t errorMode = 0;
    std::vector<uint32_t> lookErrorModes;  // the error mode at each file attributes query
    uint32_t lastError = 0;
    std::string output;  // what was written to standard output
    std::map<uintptr_t, std::string> openFiles;  // handles of OsOpenForAppending, by path
    int locksHeld = 0;
    std::vector<int64_t> turnsTaken;  // when this copy took the turn
    int64_t turnReleasedAt = -1;
    std::set<uintptr_t> mutexHandles;  // open handles to the turn
};

extern FakePlatform Fake;

// Puts the double back to its initial state.
void ResetFake();

// Adds a value to section "Launch" of the settings file at `path` (which then
// exists), or replaces the value of a key that is there already.
void SetProfileValue(const std::string& path, const std::string& key, const std::string& value);

// What the profile reader delivers for a value written as `written` after
// "Key=": blanks and tabs trimmed at both ends, then one pair of matching
// quotes ("" or '') around the whole removed.
std::string DeliveredValue(const std::string& written);

// The same in any section; an empty key adds the section alone.
void SetProfileValueIn(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& value);

// The key of Fake.registry for a subkey of HKCU or HKLM in a view.
std::string FakeRegistryKey(OsRegistryRoot root, OsRegistryView view, const std::string& subkey);

// Sets the clock to hh:mm:ss.mmm.
int64_t TimeOfDay(int hour, int minute, int second, int milliseconds = 0);
