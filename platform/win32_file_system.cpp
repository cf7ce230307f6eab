// The wrappers of file_system.h over the real Win32 API.
#include "file_system.h"

#include <windows.h>

uint32_t OsGetFileAttributes(const char* path) {
    return GetFileAttributesA(path);
}

uint32_t OsGetFullPathName(const char* path, char* buffer, uint32_t size) {
    return GetFullPathNameA(path, size, buffer, nullptr);
}

uint32_t OsSearchPath(const char* folders, const char* file, const char* extension, char* buffer, uint32_t size) {
    return SearchPathA(folders, file, extension, size, buffer, nullptr);
}

int32_t OsReadFileStart(const char* path, char* buffer, uint32_t size) {
    // Shared for reading and writing: an editor may hold the file open.
    const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    DWORD read = 0;
    const BOOL ok = ReadFile(file, buffer, size, &read, nullptr);
    CloseHandle(file);
    return ok ? static_cast<int32_t>(read) : -1;
}
