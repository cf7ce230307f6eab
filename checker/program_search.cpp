// The rules below are those of Microsoft's CreateProcessA page (parameter
// lpCommandLine) and of "Naming Files, Paths, and Namespaces"; each rule says
// which sentence it rests on.
#include "program_search.h"

#include <algorithm>
#include <vector>

#include "app_names.h"
#include "file_system.h"
#include "launch_list.h"
#include "paths.h"
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
    // The page says a name with a path gets no .exe; the search behind it
    // (SearchPath with ".exe": "The extension is added only if the specified
    // file name does not end with an extension") adds it, and the name as
    // written is not tried after that. (Wine tries it, for Unix programs:
    // judged here as Windows does.)
    const std::string file = WithExeExtension(path);
    if (IsFile(file)) {
        result.found = true;
        result.path = file;
    } else if (file != path && IsFile(path)) {
        result.why = path + " has no extension: Windows looks for " + file + ", which does not exist, and not for " +
                     path + kFails;
    } else if (IsFolder(path)) {
        result.why = path + " is a folder, not a program" + kFails;
    } else {
        result.why = path + " does not exist" + kFails + UnknownVariableHint(program) + RedirectionHint(path);
    }
    return result;
}

}  // namespace

std::string ProgramOf(const std::string& command) {
    if (!command.empty() && command[0] == '"') {
        const size_t closing = command.find('"', 1);
        return command.substr(1, closing == std::string::npos ? std::string::npos : closing - 1);
    }
    return command.substr(0, command.find_first_of(" \t"));
}

FoundProgram FindProgram(const std::string& program, const std::string& exeFolder, const std::string& workingFolder) {
    if (program.empty()) {
        FoundProgram empty;
        empty.why = std::string("the program is empty") + kFails;
        return empty;
    }
    if (IsFullPath(program)) return Checked(program, program, false);
    if (IsRootedOnCurrentDrive(program)) {
        FoundProgram result = Checked(ResolvedFrom(workingFolder, program), program, true);
        if (!result.found) result.why += " (a path that starts with \\ is on the drive of Postpone's working folder, " +
                                         workingFolder + ": give the drive, or the full path)";
        return result;
    }
    if (IsDotRelative(program)) {
        FoundProgram result = Checked(ResolvedFrom(workingFolder, program), program, true);
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
                 ", the Windows folders or PATH" + kFails + UnknownVariableHint(program) + SystemToolHint(program) +
                 AppPathsHint(program);
    return result;
}
