// The thin wrappers through which the launcher reaches Windows.
//
// Every Windows operation the launcher uses is declared here, one function per
// API call, shaped as closely as the call itself. win32_platform.cpp implements
// them with the real API; the host tests link a scripted double instead. Nothing
// outside platform/ names a Windows type.
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

// Case mapping in the ANSI code page, in place, over exactly `length` bytes
// (the text may hold NUL characters).
void OsCharUpperBuff(char* text, uint32_t length);
void OsCharLowerBuff(char* text, uint32_t length);

// Processes. OsCreateProcess fills the start-up record with the show state and
// starts `commandBuffer` (which the platform may write into) without an
// application name, not inheriting handles, at normal priority, with the
// launcher's environment and current directory.
uint32_t OsSetErrorMode(uint32_t mode);
void OsSetLastError(uint32_t code);
uint32_t OsGetLastError();
bool OsCreateProcess(char* commandBuffer, uint32_t showWindow, OsProcessInfo* created);
void OsWaitForProcess(OsHandle process);  // no time-out
bool OsGetExitCodeProcess(OsHandle process, uint32_t* exitCode);
void OsCloseHandle(OsHandle handle);
[[noreturn]] void OsExitProcess(uint32_t exitCode);

// Time.
void OsGetLocalTime(OsLocalTime* now);
void OsSleep(uint32_t milliseconds);

// User interface. The user-interface library is loaded only when a box is
// shown, so that a copy waiting out its delay never maps it.
int32_t OsMessageBox(const char* text, const char* title, uint32_t style);
