// The rules below are those of Microsoft's CreateProcessA page (parameter
// lpCommandLine) and of "Naming Files, Paths, and Namespaces"; each rule says
// which sentence it rests on.
#include "program_search.h"

#include <algorithm>
#include <vector>

#include "file_system.h"
#include "launch_list.h"
#include "redirection.h"
#include "text.h"

namespace {

const char kFails[] = ": the start would fail without a word";

// "A single backslash, for example, "\directory"": the root of the current
// drive, that is of the working folder's.
bool IsRootedOnCurrentDrive(const std::string& path) {
    return !path.empty() && (path[0] == '\\' || path[0] == '/') && !IsFullPath(path);
}

// ".\" and "..\": "relative to the current directory", and only to it.
bool IsDotRelative(const std::string& path) {
    return path.rfind(".\\", 0) == 0 || path.rfind("..\\", 0) == 0 || path.rfind("./", 0) == 0 ||
           path.rfind("../", 0) == 0;
}

// "If the file name does not contain an extension, .exe is appended ... If
// the file name ends in a period (.) with no extension ... .exe is not
// appended." (The page also says a name with a path gets no .exe; the
// search behind it, SearchPath with ".exe", adds it to any name without an
// extension: "The extension is added only if the specified file name does
// not end with an extension", and Wine does the same.)
std::string WithExtension(const std::string& path) {
    const size_t name = path.find_last_of("\\/:");
    const size_t dot = path.find('.', name == std::string::npos ? 0 : name + 1);
    return dot == std::string::npos ? path + ".exe" : path;
}

// `folder` + "\\" + `path` with "." and ".." parts folded in, as the
// platform folds them before it looks: the report names the file plainly.
std::string Joined(const std::string& folder, const std::string& path) {
    std::vector<std::string> parts;
    const std::string whole = folder + "\\" + path;
    size_t start = 0;
    for (;;) {
        const size_t end = std::min(whole.find_first_of("\\/", start), whole.size());
        const std::string part = whole.substr(start, end - start);
        if (part == "..") {
            if (parts.size() > 1) parts.pop_back();
        } else if (part != "." && !(part.empty() && !parts.empty())) {
            parts.push_back(part);
        }
        if (end == whole.size()) break;
        start = end + 1;
    }
    std::string joined;
    for (size_t i = 0; i < parts.size(); ++i) joined += (i == 0 ? "" : "\\") + parts[i];
    return joined;
}

std::string Searched(const std::string& folders, const std::string& name) {
    std::vector<char> found(1024, '\0');
    uint32_t length = OsSearchPath(folders.c_str(), name.c_str(), ".exe", found.data(), 1024);
    if (length >= found.size()) {  // the size it needs
        found.assign(length + 1, '\0');
        length = OsSearchPath(folders.c_str(), name.c_str(), ".exe", found.data(), length + 1);
    }
    return length > 0 && length < found.size() ? std::string(found.data(), length) : std::string();
}

std::string UnknownVariableHint(const std::string& program) {
    return program.find('%') != std::string::npos ? " (a %NAME% that is no environment variable stays as written)"
                                                  : "";
}

// A full path to a file that is there, or why it is not.
FoundProgram Checked(const std::string& path, const std::string& program, bool usesWorkingFolder) {
    FoundProgram result;
    result.usesWorkingFolder = usesWorkingFolder;
    const std::string file = WithExtension(path);
    if (IsFile(file)) {
        result.found = true;
        result.path = file;
    } else if (IsFile(path)) {
        result.found = true;
        result.path = path;
    } else if (IsFolder(path)) {
        result.why = path + " is a folder, not a program" + kFails;
    } else {
        result.why = path + " does not exist" + kFails + UnknownVariableHint(program) + RedirectionHint(path);
    }
    return result;
}

}  // namespace

// "A disk designator with a backslash, for example "C:\"", or a UNC name
// ("\\server\share"): a full path, taken as it stands.
bool IsFullPath(const std::string& path) {
    return (path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) ||
           path.rfind("\\\\", 0) == 0;
}

std::string ProgramOf(const std::string& command) {
    if (!command.empty() && command[0] == '"') {
        const size_t closing = command.find('"', 1);
        return command.substr(1, closing == std::string::npos ? std::string::npos : closing - 1);
    }
    return command.substr(0, command.find_first_of(" \t"));
}

std::string FolderOf(const std::string& path) {
    const size_t last = path.find_last_of('\\');
    return last == std::string::npos ? std::string() : path.substr(0, last);
}

std::string FileNameOf(const std::string& path) {
    const size_t last = path.find_last_of("\\/");
    return last == std::string::npos ? path : path.substr(last + 1);
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

FoundProgram FindProgram(const std::string& program, const std::string& exeFolder, const std::string& workingFolder) {
    if (program.empty()) {
        FoundProgram empty;
        empty.why = std::string("the program is empty") + kFails;
        return empty;
    }
    if (IsFullPath(program)) return Checked(program, program, false);
    if (IsRootedOnCurrentDrive(program)) {
        const std::string drive = workingFolder.size() >= 2 && workingFolder[1] == ':' ? workingFolder.substr(0, 2) : "";
        FoundProgram result = Checked(drive + program, program, true);
        if (!result.found) result.why += " (a path that starts with \\ is on the drive of Postpone's working folder, " +
                                         workingFolder + ": give the drive, or the full path)";
        return result;
    }
    if (IsDotRelative(program)) {
        FoundProgram result = Checked(Joined(workingFolder, program), program, true);
        if (!result.found) {
            result.why += " (a path that starts with .\\ or ..\\ is taken from Postpone's working folder, " +
                          workingFolder + ", the Start in of what starts it; not from Postpone's folder: give the "
                          "full path)";
        }
        return result;
    }
    // "If the file name does not contain a directory path, the system searches
    // for the executable file in the following sequence: 1. The directory from
    // which the application loaded. 2. The current directory for the parent
    // process. 3. The 32-bit Windows system directory. ... 4. The 16-bit
    // Windows system directory. ... 5. The Windows directory. ... 6. The
    // directories that are listed in the PATH environment variable." The
    // application that loaded is the copy, that is Postpone; a relative path
    // with folders (WindowsPowerShell\v1.0\powershell.exe) is searched the
    // same way, as SearchPath does.
    const std::string folders =
        exeFolder + ";" + workingFolder + ";" + ExpandVariables("%SystemRoot%\\system32;%SystemRoot%\\system;%SystemRoot%;%PATH%");
    FoundProgram result;
    result.usesWorkingFolder = true;
    result.path = Searched(folders, program);
    if (!result.path.empty()) {
        result.found = true;
        result.usesWorkingFolder = LowerCase(FolderOf(result.path)) == LowerCase(workingFolder) ||
                                   LowerCase(result.path).rfind(LowerCase(workingFolder) + "\\", 0) == 0;
        return result;
    }
    result.why = program + " is not in Postpone's folder, its working folder " + workingFolder +
                 ", the Windows folders or PATH" + kFails + UnknownVariableHint(program);
    return result;
}
