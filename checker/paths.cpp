#include "paths.h"

#include "file_system.h"
#include "text.h"

std::string FileNameOf(const std::string& path) {
    const size_t last = path.find_last_of("\\/");
    return last == std::string::npos ? path : path.substr(last + 1);
}

std::string ExtensionOf(const std::string& path) {
    const std::string name = FileNameOf(path.substr(path.find_last_of(':') + 1));
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : LowerCase(name.substr(dot));
}

bool HasExtension(const std::string& path, const std::string& extension) {
    return ExtensionOf(path) == LowerCase(extension);
}

// "If the file name does not contain an extension, .exe is appended ... If
// the file name ends in a period (.) with no extension ... .exe is not
// appended" (CreateProcessA, lpCommandLine).
std::string WithExeExtension(const std::string& path) {
    return ExtensionOf(path).empty() ? path + ".exe" : path;
}

bool Exists(const std::string& path) {
    return OsGetFileAttributes(path.c_str()) != kNoFileAttributes;
}

bool IsFile(const std::string& path) {
    const uint32_t attributes = OsGetFileAttributes(path.c_str());
    return attributes != kNoFileAttributes && (attributes & kFolderAttribute) == 0;
}

bool IsFolder(const std::string& path) {
    const uint32_t attributes = OsGetFileAttributes(path.c_str());
    return attributes != kNoFileAttributes && (attributes & kFolderAttribute) != 0;
}
