/* A stand-in for the programs Postpone starts. It appends one line to the log
 * named by PROBE_LOG: its process id, the show state it was given, the time
 * it started (Unix milliseconds), its exact command line, its own path and its
 * current folder, all three in hex. Then it
 * waits PROBE_HOLD_MS milliseconds, if set, and exits with PROBE_EXIT. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "unix_time.h"

static unsigned EnvNumber(const char* name, unsigned fallback) {
    char value[64];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return (length > 0 && length < sizeof value) ? (unsigned)strtoul(value, NULL, 0) : fallback;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR tail, int show) {
    static char line[140000];
    static char logPath[MAX_PATH];
    const char* commandLine = GetCommandLineA();
    STARTUPINFOA startup;
    unsigned long long started = UnixMilliseconds();
    size_t length = 0;
    HANDLE log;
    DWORD written;
    (void)instance; (void)previous; (void)tail; (void)show;

    GetStartupInfoA(&startup);
    length = (size_t)sprintf(line, "pid=%lu show=%u flags=%lu ms=%llu cmd=", GetCurrentProcessId(),
                             (unsigned)startup.wShowWindow, startup.dwFlags, started);
    for (const unsigned char* c = (const unsigned char*)commandLine; *c != 0 && length + 4 < sizeof line; ++c) {
        length += (size_t)sprintf(line + length, "%02x", *c);
    }
    length += (size_t)sprintf(line + length, " exe=");
    GetModuleFileNameA(NULL, logPath, sizeof logPath);
    for (const unsigned char* c = (const unsigned char*)logPath; *c != 0; ++c) {
        length += (size_t)sprintf(line + length, "%02x", *c);
    }
    length += (size_t)sprintf(line + length, " cwd=");
    GetCurrentDirectoryA(sizeof logPath, logPath);
    for (const unsigned char* c = (const unsigned char*)logPath; *c != 0; ++c) {
        length += (size_t)sprintf(line + length, "%02x", *c);
    }
    line[length++] = '\n';

    if (GetEnvironmentVariableA("PROBE_LOG", logPath, sizeof logPath) > 0) {
        /* Alone with the log while appending: under Wine two appends at the
         * same moment can land at the same end, and one line would be lost.
         * Another probe holding it makes this one wait, for 10 s at most. */
        for (int tries = 0; tries < 1000; ++tries) {
            log = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
            if (log != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) break;
            Sleep(10);
        }
        if (log != INVALID_HANDLE_VALUE) {
            WriteFile(log, line, (DWORD)length, &written, NULL);
            CloseHandle(log);
        }
    }
    Sleep(EnvNumber("PROBE_HOLD_MS", 0));
    return (int)EnvNumber("PROBE_EXIT", 0);
}
