// Which file a path names, over the real Win32 API: OsSameFile of
// platform.h (Postpone.exe asks it before it writes its record) and
// OsFinalPath of file_system.h (the checker alone).
#include "file_system.h"
#include "platform.h"

#include <windows.h>

#include <vector>

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
