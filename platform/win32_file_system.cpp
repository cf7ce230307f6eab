// The wrappers of file_system.h over the real Win32 API.
#include "file_system.h"

#include <windows.h>

#include <vector>

bool OsIsNetworkDrive(const char* root) {
    return GetDriveTypeA(root) == DRIVE_REMOTE;
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

bool OsListFiles(const char* folder, std::vector<std::string>* names) {
    names->clear();
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((std::string(folder) + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names->push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    // The listing ends with ERROR_NO_MORE_FILES; any other error cut it short.
    const bool whole = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(search);
    return whole;
}
