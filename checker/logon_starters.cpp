#include "logon_starters.h"

#include "file_system.h"
#include "launch_list.h"
#include "paths.h"
#include "program_search.h"
#include "redirection.h"
#include "registry.h"
#include "shell.h"
#include "startup_approved.h"
#include "text.h"

namespace {

// Where Windows gives a program started at logon no folder of its own (a Run
// value, a shortcut with an empty Start in), it inherits Explorer's current
// folder. Windows documents none; Explorer is started in the system folder,
// and that is the assumption made here, said in the report.
const char kExplorerFolder[] = "%SystemRoot%\\system32";

std::string ExplorerFolder() {
    return ExpandVariables(kExplorerFolder);
}

bool Starts(const std::string& program, const std::string& exePath) {
    if (program.empty()) return false;
    return OsSameFile(WithExeExtension(program).c_str(), exePath.c_str());
}

// The program of a Run value's command as Windows finds it: an unquoted
// path with blanks is tried piece by piece, "c:\program.exe", then
// "c:\program files\sub.exe", and so on (CreateProcessA, lpApplicationName:
// "the system tries to interpret the possibilities in the following order").
bool CommandStarts(const std::string& command, const std::string& exePath) {
    if (command.empty() || command[0] == '"') return Starts(ProgramOf(command), exePath);
    for (size_t blank = command.find(' '); ; blank = command.find(' ', blank + 1)) {
        const std::string program = command.substr(0, blank);
        if (IsFile(WithExeExtension(program))) return Starts(program, exePath);
        if (blank == std::string::npos) return false;
    }
}

const char* ShellLinkTrouble(OsShellLinkRead read) {
    switch (read) {
        case OsShellLinkRead::Read:
            return "";
        case OsShellLinkRead::NoPath:
            return "it names no file";
        case OsShellLinkRead::NotAShortcut:
            return "it cannot be read as a shortcut";
        case OsShellLinkRead::NoShell:
            return "the shell's shortcut reader could not be started";
    }
    return "";
}

void FindInStartupFolder(OsStartupFolder which, const std::string& exePath, std::vector<LogonStarter>* starters) {
    const std::string folder = OsGetStartupFolder(which);
    std::vector<std::string> names;
    if (folder.empty()) return;
    if (!OsListFiles(folder.c_str(), &names)) {
        if (!Exists(folder)) return;  // no common Startup folder, say
        LogonStarter starter;
        starter.what = folder;
        starter.unreadable = "the Startup folder could not be listed to the end";
        starters->push_back(starter);  // and what was listed is looked at
    }
    const OsRegistryRoot root = which == OsStartupFolder::User ? OsRegistryRoot::CurrentUser : OsRegistryRoot::LocalMachine;
    for (const std::string& name : names) {
        const std::string path = folder + "\\" + name;
        LogonStarter starter;
        starter.what = path;
        if (OsSameFile(path.c_str(), exePath.c_str())) {
            starter.exeItself = true;
            starter.workingFolder = folder;
        } else {
            OsShellLink link;
            if (!HasExtension(name, ".lnk")) continue;
            const OsShellLinkRead read = OsReadShellLink(path.c_str(), &link);
            if (read == OsShellLinkRead::NoPath) continue;  // a Store app or a shell folder: not Postpone
            if (read != OsShellLinkRead::Read) {
                starter.unreadable = ShellLinkTrouble(read);
                starters->push_back(starter);
                continue;
            }
            // Explorer, a 64-bit program, starts the shortcut: its variables
            // mean the 64-bit folders.
            if (!Starts(ExpandVariables(As64BitNames(link.target)), exePath)) continue;
            starter.workingFolder = link.folder.empty() ? ExplorerFolder() : ExpandVariables(As64BitNames(link.folder));
        }
        starter.switchedOff = SwitchedOff(root, kStartupFolderList, name, &starter.switchesRead);
        starters->push_back(starter);
    }
}

}  // namespace

std::vector<LogonStarter> FindLogonStarters(const std::string& exePath) {
    std::vector<LogonStarter> starters;
    FindInStartupFolder(OsStartupFolder::User, exePath, &starters);
    FindInStartupFolder(OsStartupFolder::Common, exePath, &starters);
    for (const RunKey& key : RunKeysOfThisWindows()) {
        std::vector<OsRegistryValue> values;
        const OsRegistryRead read = OsReadRegistryValues(key.root, kRunSubkey, key.view, &values);
        if (read == OsRegistryRead::Unreadable) {
            LogonStarter starter;
            starter.what = key.name;
            starter.unreadable = "its values could not all be read";
            starters.push_back(starter);
        }
        for (const OsRegistryValue& value : values) {
            if (value.type != kRegistryText && value.type != kRegistryExpandedText) continue;
            // Explorer, a 64-bit program, starts the Run values too.
            const std::string command = ExpandVariables(As64BitNames(value.data));
            if (!CommandStarts(command, exePath)) continue;
            LogonStarter starter;
            starter.what = "the value " + value.name + " of " + key.name + " (" + command + ")";
            starter.workingFolder = ExplorerFolder();
            starter.switchedOff = SwitchedOff(key.root, key.approved, value.name, &starter.switchesRead);
            starters.push_back(starter);
        }
    }
    return starters;
}

std::vector<WorkingFolder> ReportLogonStarters(const std::vector<LogonStarter>& starters, const std::string& exePath,
                                               const std::string& settingsPath, Report* report) {
    std::vector<WorkingFolder> folders;
    for (const LogonStarter& starter : starters) {
        if (!starter.unreadable.empty()) {
            AddWarning(report, starter.what + ": " + starter.unreadable + ": whether it starts Postpone at logon is not "
                               "known");
            continue;
        }
        if (starter.switchedOff) {
            AddWarning(report, "started at logon by " + starter.what + " no more: it is switched off in Task Manager's "
                               "Startup tab; switch it on there (or in Settings, Apps, Startup)");
            continue;
        }
        if (!starter.switchesRead) {
            AddWarning(report, "whether " + starter.what + " is switched off in Task Manager's Startup tab could not be "
                               "read: it is taken as switched on");
        }
        const bool assumed = LowerCase(starter.workingFolder) == LowerCase(ExplorerFolder()) && !starter.exeItself;
        AddLine(report, "started at logon by: " + starter.what + ", Start in " + starter.workingFolder +
                            (assumed ? " (none given: Explorer's own folder, assumed)" : ""));
        if (starter.exeItself) {
            AddWarning(report, "Postpone.exe lies in the Startup folder itself, and Explorer opens every file there at "
                               "logon: " + settingsPath + " opens in Notepad each time as well; keep Postpone's "
                               "folder elsewhere and put a shortcut to Postpone.exe in the Startup folder");
        }
        folders.push_back(WorkingFolder{starter.workingFolder, starter.what});
    }
    if (folders.empty()) {
        AddWarning(report, "nothing found starts " + exePath + " at logon: put a shortcut to it in your Startup folder, " +
                               OsGetStartupFolder(OsStartupFolder::User) + " (README, Installing); scheduled tasks are "
                               "not looked at");
        AddLine(report, "note: entries are judged as if Postpone started in its own folder, " + FolderOf(exePath) +
                            " (the Start in of the README's shortcut)");
        folders.push_back(WorkingFolder{FolderOf(exePath), std::string()});
    }
    return folders;
}
