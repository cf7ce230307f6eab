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

namespace {

// Opens a file or a folder for its attributes alone: no right to read or
// write it is asked, so that a file in use by another program opens too.
HANDLE OpenForIdentity(const char* path) {
    return CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

std::string OsFinalPath(const char* path) {
    // Windows Vista and later; looked up so that the checker still starts
    // (and says what it can) where it is missing.
    using FinalPathFunction = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
    const auto finalPath = reinterpret_cast<FinalPathFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA")));
    if (finalPath == nullptr) return std::string();
    const HANDLE file = OpenForIdentity(path);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::vector<char> buffer(1024, '\0');
    DWORD length = finalPath(file, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    if (length >= buffer.size()) {
        buffer.assign(length + 1, '\0');
        length = finalPath(file, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    }
    CloseHandle(file);
    if (length == 0 || length >= buffer.size()) return std::string();
    std::string result(buffer.data(), length);
    if (result.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + result.substr(8);
    if (result.rfind("\\\\?\\", 0) == 0) return result.substr(4);
    return result;
}

bool OsSameFile(const char* first, const char* second) {
    BY_HANDLE_FILE_INFORMATION info[2];
    const char* paths[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        const HANDLE file = OpenForIdentity(paths[i]);
        if (file == INVALID_HANDLE_VALUE) return false;
        const BOOL read = GetFileInformationByHandle(file, &info[i]);
        CloseHandle(file);
        if (!read) return false;
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}
