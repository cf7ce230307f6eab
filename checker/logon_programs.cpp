#include "logon_programs.h"

#include "elevation.h"
#include "file_kind.h"
#include "file_system.h"
#include "launch_list.h"
#include "paths.h"
#include "redirection.h"
#include "shell.h"
#include "startup_approved.h"
#include "text.h"

namespace {

constexpr int32_t kShowNormal = 1;
constexpr int32_t kShowMinimized = 2;     // SW_SHOWMINIMIZED, as IShellLink::GetShowCmd gives "Minimised"
constexpr int32_t kShowMaximized = 3;
constexpr int32_t kShowMinNoActive = 7;   // SW_SHOWMINNOACTIVE, as the file holds it
constexpr int32_t kMinimisedNoFocus = 6;  // their WndStyle
// The shortcut file's header ("ShellLinkHeader", [MS-SHLLINK] 2.1,
// Microsoft's documentation): HeaderSize "MUST be 0x0000004C", and
// ShowCommand at offset 0x3C.
constexpr uint32_t kLinkHeaderSize = 0x4C;
constexpr uint32_t kShowCommandOffset = 0x3C;

uint32_t LittleEndian32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
    return value;
}

// The show state the shortcut at `path` stores, read from its header (Wine's
// shell-link reader gives SW_SHOWNORMAL whatever the file holds); `fallback`
// where the header cannot be read.
int32_t StoredShowCommand(const std::string& path, int32_t fallback) {
    std::string header(kLinkHeaderSize, '\0');
    if (OsReadFileStart(path.c_str(), &header[0], kLinkHeaderSize) != static_cast<int32_t>(kLinkHeaderSize) ||
        LittleEndian32(header, 0) != kLinkHeaderSize) {
        return fallback;
    }
    // "All other values MUST be treated as SW_SHOWNORMAL."
    const uint32_t show = LittleEndian32(header, kShowCommandOffset);
    return show == kShowMaximized || show == kShowMinNoActive ? static_cast<int32_t>(show) : kShowNormal;
}

// Explorer, a 64-bit program, means the 64-bit folders by a shortcut's or a
// Run value's variables.
std::string AsExplorerMeansIt(const std::string& text) {
    return ExpandVariables(As64BitNames(text));
}

// Why Postpone cannot start `program` in the original's place, or "".
std::string WhyNotDelayed(const std::string& program) {
    if (!IsFullPath(program)) return std::string();  // found through the search path, as the checker says per entry
    if (!Exists(program)) return program + " does not exist";
    std::string start(kFileStartSize, '\0');
    const int32_t read = OsReadFileStart(program.c_str(), &start[0], kFileStartSize);
    if (read < 0) return std::string();
    start.resize(static_cast<size_t>(read));
    const FileFacts facts = KindOfFile(program, start);
    if (facts.kind != FileKind::Program && facts.kind != FileKind::BatchFile) {
        return program + " is a document or a script, not a program: Windows does not start it from Postpone";
    }
    bool certain = false;
    WhyElevationStopsTheStart(program, facts, &certain);
    if (certain) return "it asks for administrator rights: started by Postpone it fails with error 740";
    return std::string();
}

bool StartsPostpone(const std::string& program, const std::string& exePath) {
    return !program.empty() && OsSameFile(WithExeExtension(program).c_str(), exePath.c_str());
}

// A Run value's program and arguments as CreateProcess takes them apart: a
// quoted program to its closing quote; an unquoted one with blanks tried
// piece by piece ("c:\program.exe", then "c:\program files\sub.exe", ...).
void SplitCommand(const std::string& command, std::string* program, std::string* arguments) {
    size_t end = 0;
    if (!command.empty() && command[0] == '"') {
        const size_t close = command.find('"', 1);
        *program = command.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        end = close == std::string::npos ? command.size() : close + 1;
    } else {
        end = command.find(' ');  // the first word, where no piece names a file
        for (size_t blank = command.find(' ');; blank = command.find(' ', blank + 1)) {
            if (IsFile(WithExeExtension(command.substr(0, blank)))) {
                end = blank;
                break;
            }
            if (blank == std::string::npos) break;
        }
        *program = command.substr(0, end);
    }
    if (end == std::string::npos) end = command.size();
    const size_t first = command.find_first_not_of(' ', end);
    *arguments = first == std::string::npos ? std::string() : command.substr(first);
}

// A file of a Startup folder: a shortcut as 64-bit Explorer reads it, or the
// file itself, which Explorer opens.
bool ReadStartupFile(const std::string& path, LogonProgram* program) {
    if (!HasExtension(path, ".lnk")) {
        program->program = path;
        program->whyNot = WhyNotDelayed(path);
        return true;
    }
    OsShellLink link;
    const OsShellLinkRead read = OsReadShellLink(path.c_str(), &link);
    if (read == OsShellLinkRead::NoPath) {
        program->whyNot = "it names no program (a Store app or a shell folder)";
        return true;
    }
    if (read != OsShellLinkRead::Read) return false;
    program->program = AsExplorerMeansIt(link.target);
    program->arguments = link.arguments;
    program->folder = link.folder.empty() ? std::string() : AsExplorerMeansIt(link.folder);
    program->show = ShowStateOfShortcut(StoredShowCommand(path, link.showCommand));
    program->whyNot = WhyNotDelayed(program->program);
    return true;
}

void ListStartupFolder(OsStartupFolder which, const std::string& exePath, std::vector<LogonProgram>* programs) {
    const std::string folder = OsGetStartupFolder(which);
    std::vector<std::string> names;
    if (folder.empty()) return;
    OsListFiles(folder.c_str(), &names);  // what could not be listed the starters' lines say
    for (const std::string& name : names) {
        if (LowerCase(name) == "desktop.ini") continue;  // the folder's own look, hidden
        const std::string path = folder + "\\" + name;
        if (OsSameFile(path.c_str(), exePath.c_str())) continue;
        LogonProgram program;
        program.origin = path;
        program.root = which == OsStartupFolder::User ? OsRegistryRoot::CurrentUser : OsRegistryRoot::LocalMachine;
        program.approvedList = kStartupFolderList;
        program.approvedName = name;
        if (!ReadStartupFile(path, &program)) program.whyNot = "it cannot be read as a shortcut";
        if (StartsPostpone(program.program, exePath)) continue;
        bool readWhole = true;
        program.switchedOff = SwitchedOff(program.root, program.approvedList, name, &readWhole);
        programs->push_back(program);
    }
}

}  // namespace

int32_t ShowStateOfShortcut(int32_t showCommand) {
    if (showCommand == kShowMinNoActive || showCommand == kShowMinimized) return kMinimisedNoFocus;
    return showCommand == kShowMaximized ? kShowMaximized : kShowNormal;
}

std::vector<LogonProgram> ListLogonPrograms(const std::string& exePath) {
    std::vector<LogonProgram> programs;
    ListStartupFolder(OsStartupFolder::User, exePath, &programs);
    ListStartupFolder(OsStartupFolder::Common, exePath, &programs);
    for (const RunKey& key : RunKeysOfThisWindows()) {
        std::vector<OsRegistryValue> values;
        OsReadRegistryValues(key.root, kRunSubkey, key.view, &values);
        for (const OsRegistryValue& value : values) {
            if (value.type != kRegistryText && value.type != kRegistryExpandedText) continue;
            LogonProgram program;
            program.origin = "the value " + value.name + " of " + key.name;
            program.root = key.root;
            program.approvedList = key.approved;
            program.approvedName = value.name;
            SplitCommand(AsExplorerMeansIt(value.data), &program.program, &program.arguments);
            if (StartsPostpone(program.program, exePath)) continue;
            program.whyNot = WhyNotDelayed(program.program);
            bool readWhole = true;
            program.switchedOff = SwitchedOff(key.root, key.approved, value.name, &readWhole);
            programs.push_back(program);
        }
    }
    return programs;
}

bool ReadProgramAt(const std::string& path, const std::string& arguments, LogonProgram* program) {
    program->origin = path;
    if (HasExtension(path, ".lnk")) return ReadStartupFile(path, program);
    program->program = path;
    program->arguments = arguments;
    program->whyNot = WhyNotDelayed(path);
    return true;
}
