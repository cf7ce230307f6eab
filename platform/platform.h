// The thin wrappers through which the launcher reaches Windows.
//
// Every Windows operation Postpone.exe uses is declared here, each shaped as
// closely as the call behind it (a few join the calls that only make sense
// together, such as the start-up record and CreateProcessA). win32_platform.cpp
// implements them with the real API (the record's file operations
// win32_record_file.cpp); the host tests link a scripted double
// instead. The launcher's code sees none of Windows' own types or headers: only
// the plain ones declared here. What the checker alone needs lives in the other
// headers of this folder, each with a Win32 file and a part of the double.
#pragma once

#include <cstdint>

using OsHandle = void*;

// The invalid-handle value of the file search (all 32 bits set on Win32).
extern const OsHandle kInvalidSearchHandle;

struct OsLocalTime {
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
    uint16_t milliseconds;
    uint16_t year;   // the date: only the record of starts reads it
    uint16_t month;
    uint16_t day;
};

struct OsProcessInfo {
    OsHandle process;
    OsHandle thread;
    uint32_t processId;
};

// Command line and module.
const char* OsGetCommandLine();
uint32_t OsGetModuleFileName(OsHandle module, char* buffer, uint32_t size);

// Settings file (profile reader).
uint32_t OsGetPrivateProfileString(const char* section, const char* key, const char* fallback,
                                   char* buffer, uint32_t size, const char* path);
int32_t OsGetPrivateProfileInt(const char* section, const char* key, int32_t fallback,
                               const char* path);

// Environment.
uint32_t OsExpandEnvironmentStrings(const char* source, char* buffer, uint32_t size);

// File search.
OsHandle OsFindFirstFile(const char* path);
void OsFindClose(OsHandle search);

// File attributes: what a copy waiting for a path looks at.
constexpr uint32_t kNoFileAttributes = 0xFFFFFFFFu;  // the path is not there
constexpr uint32_t kFolderAttribute = 0x10;          // FILE_ATTRIBUTE_DIRECTORY
uint32_t OsGetFileAttributes(const char* path);

// The record of starts (LogFile), which list mode and each copy append to
// when the settings file names one. OsOpenForAppending opens `path` for
// reading and appending, creating it when it is missing, shared for reading,
// writing and deleting (so that copies append side by side and list mode can
// move it aside); null when it cannot be opened, OsGetLastError says why.
constexpr uint32_t kPathNotFound = 3;       // ERROR_PATH_NOT_FOUND: its folder is missing
constexpr uint32_t kSharingViolation = 32;  // ERROR_SHARING_VIOLATION
constexpr uint32_t kLockViolation = 33;     // ERROR_LOCK_VIOLATION
OsHandle OsOpenForAppending(const char* path);
// An exclusive lock of one byte at `offset`, which may lie beyond the end of
// the file; false at once when another handle holds it (LockFile).
bool OsLockByte(OsHandle file, uint64_t offset);
void OsUnlockByte(OsHandle file, uint64_t offset);
bool OsGetFileSize(OsHandle file, uint64_t* size);
// Reads up to `size` bytes at `offset`: the count read, or -1.
int32_t OsReadAt(OsHandle file, uint64_t offset, char* buffer, uint32_t size);
// Writes `data` at the end of the file; false unless all of it was written.
bool OsWriteAtEnd(OsHandle file, const char* data, uint32_t size);
// The size of the file at `path` without opening it; false when it is not there.
bool OsGetFileSizeOf(const char* path, uint64_t* size);
// False with ERROR_ALREADY_EXISTS when the folder is there already (another
// copy may have made it a moment before).
constexpr uint32_t kAlreadyExists = 183;
bool OsCreateFolder(const char* path);
// Renames `from` to `to`, replacing a file that is there.
bool OsMoveFileReplacing(const char* from, const char* to);

// True when both paths name one file, as the file system tells files apart
// (its volume and file index: GetFileInformationByHandle): other spellings,
// short names and links to it included. False when either cannot be opened.
bool OsSameFile(const char* first, const char* second);

// The machine's NetBIOS name (GetComputerNameA): its length, 0 when it cannot
// be read. The record of starts names the machine of each run.
uint32_t OsGetComputerName(char* buffer, uint32_t size);
uint32_t OsGetCurrentProcessId();

// Case mapping in the ANSI code page, in place, over exactly `length` bytes
// (the text may hold NUL characters).
void OsCharUpperBuff(char* text, uint32_t length);
void OsCharLowerBuff(char* text, uint32_t length);

// Processes. OsCreateProcess fills the start-up record with the show state and
// starts `commandBuffer` (which the platform may write into) without an
// application name, not inheriting handles, with `creationFlags`, the
// launcher's environment, and `currentFolder` as the new process's current
// directory (null: the launcher's own).
uint32_t OsSetErrorMode(uint32_t mode);
void OsSetLastError(uint32_t code);
uint32_t OsGetLastError();
bool OsCreateProcess(char* commandBuffer, uint32_t showWindow, uint32_t creationFlags, const char* currentFolder,
                     OsProcessInfo* created);
void OsWaitForProcess(OsHandle process);  // no time-out
bool OsGetExitCodeProcess(OsHandle process, uint32_t* exitCode);
void OsCloseHandle(OsHandle handle);
[[noreturn]] void OsExitProcess(uint32_t exitCode);

// Time.
void OsGetLocalTime(OsLocalTime* now);
void OsSleep(uint32_t milliseconds);
// Milliseconds since the system started, wrapping every 49.7 days: only the
// difference of two readings less than that apart means anything.
uint32_t OsGetTickCount();

// The processor: the system's idle, kernel and user times since it started
// (GetSystemTimes), in 100 ns units summed over all processors; the kernel
// time includes the idle time. A copy that waits for a quiet machine reads
// them once a second.
bool OsGetSystemTimes(uint64_t* idle, uint64_t* kernel, uint64_t* user);

// A named mutex of the logon session, through which the copies that wait for
// a quiet machine take turns. OsCreateOwnedMutex makes it and owns it, or,
// when it is there already, gives a handle without owning it and says so in
// `existed`; null when neither could be done. OsOpenMutex gives a handle when
// it is there, null when it is not.
OsHandle OsCreateOwnedMutex(const char* name, bool* existed);
OsHandle OsOpenMutex(const char* name);
void OsReleaseMutex(OsHandle mutex);

// User interface. The user-interface library is loaded only when a box is
// shown, so that a copy waiting out its delay never maps it.
int32_t OsMessageBox(const char* text, const char* title, uint32_t style);
