#include "program_lookup.h"

#include <vector>

#include "file_system.h"
#include "launch_list.h"

namespace {

// What the platform searches after the executable's own folder, in its order.
const char kSystemFolders[] = "%SystemRoot%\\system32;%SystemRoot%\\system;%SystemRoot%;%PATH%";

bool IsAbsolute(const std::string& path) {
    return (path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) ||
           path.rfind("\\\\", 0) == 0;
}

bool HasFolder(const std::string& path) {
    return path.find_first_of("\\/:") != std::string::npos;
}

// The platform adds ".exe" to a program whose file name has no extension.
bool HasExtension(const std::string& path) {
    const size_t name = path.find_last_of("\\/:");
    return path.find('.', name == std::string::npos ? 0 : name + 1) != std::string::npos;
}

bool IsFile(const std::string& path) {
    const uint32_t attributes = OsGetFileAttributes(path.c_str());
    return attributes != kNoFileAttributes && (attributes & kFolderAttribute) == 0;
}

bool IsFolder(const std::string& path) {
    const uint32_t attributes = OsGetFileAttributes(path.c_str());
    return attributes != kNoFileAttributes && (attributes & kFolderAttribute) != 0;
}

bool Searched(const std::string& folders, const std::string& name) {
    std::vector<char> found(1024, '\0');
    uint32_t length = OsSearchPath(folders.c_str(), name.c_str(), ".exe", found.data(), 1024);
    if (length >= found.size()) {  // the size it needs
        found.assign(length + 1, '\0');
        length = OsSearchPath(folders.c_str(), name.c_str(), ".exe", found.data(), length + 1);
    }
    return length > 0;
}

std::string UnknownVariableHint(const std::string& program) {
    return program.find('%') != std::string::npos ? " (a %NAME% that is no environment variable stays as written)"
                                                  : "";
}

}  // namespace

std::string ProgramOf(const std::string& command) {
    if (!command.empty() && command[0] == '"') {
        const size_t closing = command.find('"', 1);
        return command.substr(1, closing == std::string::npos ? std::string::npos : closing - 1);
    }
    return command.substr(0, command.find(' '));
}

std::string FolderOf(const std::string& path) {
    const size_t last = path.find_last_of('\\');
    return last == std::string::npos ? std::string() : path.substr(0, last);
}

std::string WhyProgramIsNotFound(const std::string& program, const std::string& exeFolder) {
    if (program.empty()) return "the program is empty: the start would fail without a word";
    if (!HasFolder(program)) {
        const std::string folders = exeFolder + ";" + ExpandVariables(kSystemFolders);
        if (Searched(folders, program)) return std::string();
        return program + " is not in Postpone's folder, the Windows folders or PATH: the start would fail without a word" +
               UnknownVariableHint(program);
    }
    const std::string path = IsAbsolute(program) ? program : exeFolder + "\\" + program;
    if (IsFile(path) || (!HasExtension(path) && IsFile(path + ".exe"))) return std::string();
    if (IsFolder(path)) return path + " is a folder, not a program: the start would fail without a word";
    std::string why = path + " does not exist: the start would fail without a word" + UnknownVariableHint(program);
    if (!IsAbsolute(program)) {
        why += " (a relative path starts from Postpone's working directory, for a Startup shortcut its Start in folder:"
               " give the full path)";
    }
    return why;
}
