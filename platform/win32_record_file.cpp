// The record's file operations of platform.h over the real Win32 API.
#include "platform.h"

#include <windows.h>

namespace {

OVERLAPPED At(uint64_t offset) {
    OVERLAPPED overlapped;
    ZeroMemory(&overlapped, sizeof overlapped);
    overlapped.Offset = static_cast<DWORD>(offset);
    overlapped.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return overlapped;
}

}  // namespace

OsHandle OsOpenForAppending(const char* path) {
    // FILE_APPEND_DATA without FILE_WRITE_DATA: every write goes to the end
    // of the file, whoever else has written since. GENERIC_READ, because
    // LockFile asks for a handle with read or write access ("The handle must
    // have been created with the GENERIC_READ or GENERIC_WRITE access right",
    // LockFile in Microsoft's documentation), and to read the last byte.
    const HANDLE file = CreateFileA(path, GENERIC_READ | FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

bool OsLockByte(OsHandle file, uint64_t offset) {
    return LockFile(file, static_cast<DWORD>(offset), static_cast<DWORD>(offset >> 32), 1, 0) != FALSE;
}

void OsUnlockByte(OsHandle file, uint64_t offset) {
    UnlockFile(file, static_cast<DWORD>(offset), static_cast<DWORD>(offset >> 32), 1, 0);
}

bool OsGetFileSize(OsHandle file, uint64_t* size) {
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
    *size = (static_cast<uint64_t>(high) << 32) | low;
    return true;
}

int32_t OsReadAt(OsHandle file, uint64_t offset, char* buffer, uint32_t size) {
    OVERLAPPED overlapped = At(offset);
    DWORD read = 0;
    if (!ReadFile(file, buffer, size, &read, &overlapped)) return -1;
    return static_cast<int32_t>(read);
}

bool OsWriteAtEnd(OsHandle file, const char* data, uint32_t size) {
    // Both offsets all ones: "To write to the end of file, specify both the
    // Offset and OffsetHigh members of the OVERLAPPED structure as
    // 0xFFFFFFFF" (WriteFile in Microsoft's documentation). The handle is
    // append-only too; saying it twice keeps a write from landing at the
    // file pointer where a file system would not honour one of them.
    OVERLAPPED overlapped = At(~uint64_t{0});
    DWORD written = 0;
    return WriteFile(file, data, size, &written, &overlapped) && written == size;
}

bool OsGetFileSizeOf(const char* path, uint64_t* size) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
    *size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

bool OsCreateFolder(const char* path) {
    return CreateDirectoryA(path, nullptr) != FALSE;
}

bool OsMoveFileReplacing(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != FALSE;
}
