#include "program_check.h"

#include <algorithm>

#include "advice.h"
#include "app_names.h"
#include "elevation.h"
#include "error_words.h"
#include "file_kind.h"
#include "file_system.h"
#include "launch_list.h"
#include "paths.h"
#include "program_image.h"
#include "program_search.h"
#include "text.h"

namespace {

// Said before a finding that holds for one starter of several.
std::string StartedBy(const WorkingFolder& folder, size_t folderCount) {
    if (folder.startedBy.empty() || folderCount < 2) return std::string();
    return "when " + folder.startedBy + " starts Postpone: ";
}

void AddOnce(std::vector<std::string>* lines, const std::string& line) {
    if (std::find(lines->begin(), lines->end(), line) == lines->end()) lines->push_back(line);
}

// False when the file cannot be read (in use, or no right to read it): then
// nothing is said of what it is.
bool FactsOf(const std::string& path, FileFacts* facts) {
    std::string start(kFileStartSize, '\0');
    const int32_t read = OsReadFileStart(path.c_str(), &start[0], kFileStartSize);
    if (read < 0) return false;
    start.resize(static_cast<size_t>(read));
    *facts = KindOfFile(path, start);
    return true;
}

}  // namespace

bool CheckProgram(int n, const std::string& command, const std::string& startIn,
                  const std::vector<WorkingFolder>& folders, const std::string& exePath, Report* report) {
    const std::string program = ProgramOf(command);
    const std::string key = EntryKeyPrefix(n, KeyStem::Program);
    std::vector<std::string> warnings, found, notes;
    for (const WorkingFolder& folder : folders) {
        const FoundProgram result = FindProgram(program, FolderOf(exePath), folder.folder);
        const std::string by = result.usesWorkingFolder ? StartedBy(folder, folders.size()) : std::string();
        if (!result.found) {
            std::string why = by + result.why;
            if (!startIn.empty() && result.usesWorkingFolder) {
                why += "; " + EntryKeyName(KeyStem::StartIn, n) + " does not change where the program is looked for";
            }
            AddOnce(&warnings, key + why);
            continue;
        }
        AddOnce(&found, result.path);
        if (!startIn.empty() && result.usesWorkingFolder) {
            // CreateProcess finds the program before the new process has a
            // folder: StartIn plays no part in it.
            AddOnce(&notes, "note: " + key + by + program + " is found from Postpone's working folder, " +
                                folder.folder + ", not from " + EntryKeyName(KeyStem::StartIn, n));
        }
    }
    bool starts = false;
    for (const std::string& path : found) {
        if (IsAppExecutionAlias(path)) {
            // A reparse point that CreateProcess follows; its bytes say nothing.
            AddOnce(&notes, "note: " + key + AppExecutionAliasNote(path));
            starts = true;
            continue;
        }
        FileFacts facts;
        if (!FactsOf(path, &facts)) {
            AddOnce(&notes, "note: " + key + path + " cannot be read (in use, or no right to read it): what kind of "
                                "file it is, and whether Windows starts it, cannot be judged");
            starts = true;
            continue;
        }
        std::string why = WhyKindDoesNotStart(facts, path, n);
        if (why.empty()) why = WhyMachineDoesNotRun(facts, path, OsNativeMachine());
        if (!why.empty()) {
            AddOnce(&warnings, key + why);
            continue;
        }
        if (facts.kind == FileKind::BatchFile) {
            std::string note = "note: " + key + path + " is a batch file: Windows runs it through cmd.exe, in a "
                               "console window in the entry's show state";
            if (OsRunsUnderWow64()) {
                note += "; from 32-bit Postpone that is the 32-bit cmd.exe of SysWOW64, for which System32 and "
                        "%ProgramFiles% are the 32-bit folders: for the 64-bit one, " +
                        WriteEntry(n, "%windir%\\Sysnative\\cmd.exe", "/c \"" + path + "\"");
            }
            AddOnce(&notes, note);
        }
        bool refused = false;
        const std::string elevation = WhyElevationStopsTheStart(path, facts, &refused);
        if (!elevation.empty()) AddOnce(&warnings, key + elevation);
        starts = starts || !refused;
    }
    for (const std::string& warning : warnings) AddWarning(report, Printable(warning));
    for (const std::string& note : notes) AddLine(report, Printable(note));
    return starts;
}

bool CheckStartIn(int n, const std::string& startIn, const std::vector<WorkingFolder>& folders, Report* report) {
    if (startIn.empty()) return true;
    const std::string key = EntryKeyPrefix(n, KeyStem::StartIn);
    if (IsFullPath(startIn)) {
        if (!IsFolder(startIn)) {
            AddWarning(report, Printable(key + startIn + " is no folder that exists: the program never starts, without "
                                               "a word (Windows answers " + WindowsError(267) + ")"));
            return false;
        }
        return true;
    }
    std::vector<std::string> warnings;
    bool serves = false;
    for (const WorkingFolder& folder : folders) {
        const std::string path = ResolvedFrom(folder.folder, startIn);
        std::string why = key + StartedBy(folder, folders.size()) + startIn +
                          " is relative: Windows takes it from Postpone's working folder, " + folder.folder;
        serves = serves || IsFolder(path);
        why += IsFolder(path) ? ", where it is " + path : ", where there is no " + path +
                                                               ": the program never starts, without a word";
        AddOnce(&warnings, why + "; give the full path");
    }
    for (const std::string& warning : warnings) AddWarning(report, Printable(warning));
    return serves;
}
