/* The spawn benchmark's baseline: the same hidden CreateProcessA calls that
 * list mode makes for BASELINE_COUNT entries, in one plain loop, of the
 * executable named by BASELINE_EXE, with nothing else around them. Like list
 * mode it reads the clock for each copy and hands it the second of the day,
 * so that its copies, too, sleep out their delay instead of starting at once. */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR tail, int show) {
    char exe[MAX_PATH];
    char count[16];
    char command[1024];
    int entries;
    (void)instance; (void)previous; (void)tail; (void)show;
    if (GetEnvironmentVariableA("BASELINE_EXE", exe, sizeof exe) == 0) return 1;
    entries = GetEnvironmentVariableA("BASELINE_COUNT", count, sizeof count) > 0 ? atoi(count) : 100;
    for (int k = 1; k <= entries; ++k) {
        STARTUPINFOA startup;
        PROCESS_INFORMATION info;
        SYSTEMTIME now;
        int stamp;
        GetLocalTime(&now);
        stamp = now.wHour * 3600 + now.wMinute * 60 + now.wSecond + (now.wMilliseconds > 500 ? 1 : 0);
        ZeroMemory(&startup, sizeof startup);
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        snprintf(command, sizeof command, "%s /E /P:x.exe \"/C:entry%d\" /D:3600 /S:0 /T:%d", exe, k, stamp);
        if (CreateProcessA(NULL, command, NULL, NULL, FALSE, NORMAL_PRIORITY_CLASS, NULL, NULL, &startup, &info)) {
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
        }
    }
    return entries;
}
