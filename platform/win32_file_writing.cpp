// The wrappers of file_writing.h over the real Win32 API.
#include "file_writing.h"

#include <windows.h>

uint32_t OsWriteNewFile(const char* path, const char* data, uint32_t size) {
    const HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, data, size, &written, nullptr) && written == size && FlushFileBuffers(file);
    const DWORD error = wrote ? 0 : GetLastError();
    CloseHandle(file);
    if (!wrote) DeleteFileA(path);
    return wrote ? 0 : (error != 0 ? error : ERROR_WRITE_FAULT);
}

uint32_t OsReplaceFile(const char* target, const char* replacement, const char* backup) {
    return ReplaceFileA(target, replacement, backup, REPLACEFILE_WRITE_THROUGH, nullptr, nullptr) ? 0 : GetLastError();
}

uint32_t OsMoveFileNew(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_WRITE_THROUGH) ? 0 : GetLastError();
}

void OsDeleteFile(const char* path) {
    DeleteFileA(path);
}
