/* Runs one command line exactly as given and prints its full exit code.
 *
 * `wine prog args` re-quotes the arguments and the shell's $? keeps only the
 * low 8 bits of the exit code, so the end-to-end tests start Postpone through
 * this: the command text comes from the environment variable STARTER_CMD
 * (or as bytes from the file that STARTER_CMD_FILE names),
 * goes to CreateProcessA unchanged, and the 32-bit exit code is printed in
 * decimal as "exit=N" once the process has ended. STARTER_SHOW, if set, is
 * the show state handed to the process. It also prints when the process was
 * started ("t0=", Unix milliseconds) and how long it ran ("ms=", from just
 * before CreateProcessA to its end). */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#include "unix_time.h"

int main(void) {
    static char command[40000];
    char show[32];
    STARTUPINFOA startup;
    PROCESS_INFORMATION info;
    DWORD code = 0;
    char path[MAX_PATH];
    DWORD length = 0;
    if (GetEnvironmentVariableA("STARTER_CMD_FILE", path, sizeof path) > 0) {
        /* The exact bytes, whatever the environment's character set. */
        HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        if (file == INVALID_HANDLE_VALUE || !ReadFile(file, command, sizeof command - 1, &length, NULL)) length = 0;
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        command[length] = 0;
    } else {
        length = GetEnvironmentVariableA("STARTER_CMD", command, sizeof command);
    }
    if (length == 0 || length >= sizeof command) {
        printf("error=no-command\n");
        return 2;
    }
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    if (GetEnvironmentVariableA("STARTER_SHOW", show, sizeof show) > 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = (WORD)atoi(show);
    }
    LARGE_INTEGER frequency, before, after;
    unsigned long long t0 = UnixMilliseconds();
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&before);
    if (!CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info)) {
        printf("error=create %lu\n", GetLastError());
        return 3;
    }
    printf("pid=%lu\n", info.dwProcessId);
    fflush(stdout);
    WaitForSingleObject(info.hProcess, INFINITE);
    QueryPerformanceCounter(&after);
    GetExitCodeProcess(info.hProcess, &code);
    printf("t0=%llu\nms=%.3f\n", t0, (double)(after.QuadPart - before.QuadPart) * 1000.0 / (double)frequency.QuadPart);
    printf("exit=%lu\n", code);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return 0;
}
