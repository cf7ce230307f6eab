// The wrappers of platform.h over the real Win32 API.
#include "platform.h"

#include "case_mapping.h"
#include "code_page.h"

#include <windows.h>

const OsHandle kInvalidSearchHandle = INVALID_HANDLE_VALUE;

const char* OsGetCommandLine() {
    return GetCommandLineA();
}

uint32_t OsGetModuleFileName(OsHandle module, char* buffer, uint32_t size) {
    return GetModuleFileNameA(static_cast<HMODULE>(module), buffer, size);
}

uint32_t OsGetPrivateProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                                   uint32_t size, const char* path) {
    return GetPrivateProfileStringA(section, key, fallback, buffer, size, path);
}

int32_t OsGetPrivateProfileInt(const char* section, const char* key, int32_t fallback, const char* path) {
    return static_cast<int32_t>(GetPrivateProfileIntA(section, key, fallback, path));
}

uint32_t OsExpandEnvironmentStrings(const char* source, char* buffer, uint32_t size) {
    return ExpandEnvironmentStringsA(source, buffer, size);
}

OsHandle OsFindFirstFile(const char* path) {
    WIN32_FIND_DATAA found;
    return FindFirstFileA(path, &found);
}

void OsFindClose(OsHandle search) {
    FindClose(search);
}

uint32_t OsGetFileAttributes(const char* path) {
    return GetFileAttributesA(path);
}

// Case mapping as the user-interface library does it for ANSI text (through
// the wide form, with the user's locale), but with the kernel alone, so that
// the user-interface library is never loaded for it.
bool OsGetSystemTimes(uint64_t* idle, uint64_t* kernel, uint64_t* user) {
    FILETIME times[3];
    if (!GetSystemTimes(&times[0], &times[1], &times[2])) return false;
    uint64_t* values[3] = {idle, kernel, user};
    for (int i = 0; i < 3; ++i) *values[i] = (static_cast<uint64_t>(times[i].dwHighDateTime) << 32) | times[i].dwLowDateTime;
    return true;
}

OsHandle OsCreateOwnedMutex(const char* name, bool* existed) {
    const HANDLE mutex = CreateMutexA(nullptr, TRUE, name);
    // "If the mutex is a named mutex and the object existed before this
    // function call, the return value is a handle to the existing object,
    // and the GetLastError function returns ERROR_ALREADY_EXISTS"; the
    // caller then does not own it (CreateMutexA, Microsoft's documentation).
    *existed = mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
    return mutex;
}

OsHandle OsOpenMutex(const char* name) {
    return OpenMutexA(SYNCHRONIZE, FALSE, name);
}

void OsReleaseMutex(OsHandle mutex) {
    ReleaseMutex(mutex);
}

uint32_t OsGetComputerName(char* buffer, uint32_t size) {
    DWORD length = size;
    return GetComputerNameA(buffer, &length) ? length : 0;
}

uint32_t OsGetCurrentProcessId() {
    return GetCurrentProcessId();
}

void OsCharUpperBuff(char* text, uint32_t length) {
    MapCaseByCharacter(text, length, true);
}

void OsCharLowerBuff(char* text, uint32_t length) {
    MapCaseByCharacter(text, length, false);
}

uint32_t OsCharacterLength(const char* text, uint32_t left) {
    const unsigned char lead = static_cast<unsigned char>(text[0]);
    if (GetACP() != CP_UTF8) return IsDBCSLeadByte(lead) && left >= 2 ? 2 : 1;
    const uint32_t length = lead >= 0xF8 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    for (uint32_t k = 1; k < length; ++k) {
        if (k >= left || (static_cast<unsigned char>(text[k]) & 0xC0) != 0x80) return 1;
    }
    return length;
}

uint32_t OsAnsiCodePage() {
    return GetACP();
}

uint32_t OsAnsiToWide(const char* text, uint32_t length, uint16_t* wide, uint32_t wideSize) {
    const int units = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, static_cast<int>(length),
                                          reinterpret_cast<WCHAR*>(wide), static_cast<int>(wideSize));
    return units > 0 ? static_cast<uint32_t>(units) : 0;
}

uint32_t OsWideToAnsi(const uint16_t* wide, uint32_t count, char* text, uint32_t size) {
    const int bytes = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const WCHAR*>(wide), static_cast<int>(count), text,
                                          static_cast<int>(size), nullptr, nullptr);
    return bytes > 0 ? static_cast<uint32_t>(bytes) : 0;
}

void OsMapWideCase(uint16_t* wide, uint32_t count, bool upper) {
    WCHAR mapped[4];
    if (count == 0 || count > 4) return;
    const int units = LCMapStringW(LOCALE_USER_DEFAULT, upper ? LCMAP_UPPERCASE : LCMAP_LOWERCASE,
                                   reinterpret_cast<const WCHAR*>(wide), static_cast<int>(count), mapped, 4);
    if (units == static_cast<int>(count)) CopyMemory(wide, mapped, count * sizeof(WCHAR));
}

uint32_t OsSetErrorMode(uint32_t mode) {
    return SetErrorMode(mode);
}

void OsSetLastError(uint32_t code) {
    SetLastError(code);
}

uint32_t OsGetLastError() {
    return GetLastError();
}

bool OsCreateProcess(char* commandBuffer, uint32_t showWindow, uint32_t creationFlags, const char* currentFolder,
                     OsProcessInfo* created) {
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;  // 68
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showWindow);

    SECURITY_ATTRIBUTES security;
    security.nLength = sizeof security;  // 12
    security.lpSecurityDescriptor = nullptr;
    security.bInheritHandle = FALSE;

    PROCESS_INFORMATION info;
    ZeroMemory(&info, sizeof info);
    const BOOL started = CreateProcessA(nullptr, commandBuffer, &security, &security, FALSE, creationFlags, nullptr,
                                        currentFolder, &startup, &info);
    created->process = info.hProcess;
    created->thread = info.hThread;
    created->processId = info.dwProcessId;
    return started != FALSE;
}

void OsWaitForProcess(OsHandle process) {
    WaitForSingleObject(process, INFINITE);
}

bool OsGetExitCodeProcess(OsHandle process, uint32_t* exitCode) {
    DWORD code = 0;
    const BOOL read = GetExitCodeProcess(process, &code);
    *exitCode = code;
    return read != FALSE;
}

void OsCloseHandle(OsHandle handle) {
    CloseHandle(handle);
}

void OsExitProcess(uint32_t exitCode) {
    ExitProcess(exitCode);
}

void OsGetLocalTime(OsLocalTime* now) {
    SYSTEMTIME time;
    GetLocalTime(&time);
    now->hour = time.wHour;
    now->minute = time.wMinute;
    now->second = time.wSecond;
    now->milliseconds = time.wMilliseconds;
    now->year = time.wYear;
    now->month = time.wMonth;
    now->day = time.wDay;
}

void OsSleep(uint32_t milliseconds) {
    Sleep(milliseconds);
}

uint32_t OsGetTickCount() {
    // GetTickCount, not GetTickCount64: the waits add up differences of
    // readings taken at most a look and a second apart.
    return GetTickCount();
}

int32_t OsMessageBox(const char* text, const char* title, uint32_t style) {
    // Loaded here, on demand: a copy that only waits never maps user32.
    using MessageBoxFunction = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);
    const HMODULE user = LoadLibraryA("user32.dll");
    if (user == nullptr) return 0;
    const auto messageBox = reinterpret_cast<MessageBoxFunction>(
        reinterpret_cast<void*>(GetProcAddress(user, "MessageBoxA")));
    return messageBox != nullptr ? messageBox(nullptr, text, title, style) : 0;
}
