#include "add_entry.h"

#include <vector>

#include "advice.h"
#include "also_started.h"
#include "check_target.h"
#include "delayed_start.h"
#include "entry_check.h"
#include "globals.h"
#include "key_names.h"
#include "launch_list.h"
#include "logon_programs.h"
#include "paths.h"
#include "settings_writer.h"
#include "startup_switch.h"
#include "text.h"

namespace {

constexpr uint32_t kAccessDenied = 5;

void Refuse(Report* report, const std::string& why) {
    AddError(report, Printable("nothing added: " + why));
}

// The program to take over: from the report's list, or from its path.
bool ProgramToAdd(const AddRequest& request, const CheckTarget& target, LogonProgram* program, bool* listed,
                 Report* report) {
    const std::vector<LogonProgram> programs = ListLogonPrograms(target.exePath);
    *listed = !request.what.empty() && request.what.find_first_not_of("0123456789") == std::string::npos;
    if (*listed) {
        const size_t n = request.what.size() <= 4 ? std::stoul(request.what) : 0;
        if (n < 1 || n > programs.size()) {
            Refuse(report, "there is no " + request.what + " in the list of what else starts at logon (" +
                               (programs.empty() ? std::string("it is empty") : "1 to " + Dec(static_cast<int32_t>(programs.size()))) +
                               "; postpone-check alone shows it)");
            return false;
        }
        *program = programs[n - 1];
        return true;
    }
    const std::string path = FullPath(request.what);
    if (!ReadProgramAt(path, request.arguments, program)) {
        Refuse(report, path + " cannot be read as a shortcut");
        return false;
    }
    if (!IsFile(path)) {
        Refuse(report, path + " does not exist");
        return false;
    }
    return true;
}

// The numbers that some key of [Launch] gives an entry, skipped ones too.
std::vector<bool> NumbersInUse() {
    std::vector<bool> used(kMaxEntries + 1, false);
    for (const std::string& name : ReadKeyNames(kLaunchSection)) {
        const KeyName key = ClassifyKeyName(name);
        if (key.read && IsEntryNumber(key.entry)) used[static_cast<size_t>(key.entry)] = true;
    }
    return used;
}

// The entry that starts this program with these arguments already, or 0.
int ExistingEntry(const LogonProgram& program) {
    for (int n = 1; IsEntryNumber(n); ++n) {
        LaunchEntry entry;
        if (ReadLaunchEntry(n, &entry) != EntryVerdict::Accepted) continue;
        if (LowerCase(entry.Program) == LowerCase(program.program) && entry.CmdLine == program.arguments) return n;
    }
    return 0;
}

std::string WhyNotWritten(uint32_t error, const CheckTarget& target) {
    if (error == kChangedMeanwhile) {
        return target.settingsPath + " changed while postpone-check was adding to it (an editor saved it?): run "
               "postpone-check /add again";
    }
    if (error == kAccessDenied) {
        return target.settingsPath + " cannot be written with your rights" +
               (LowerCase(target.settingsPath).find("\\program files") != std::string::npos
                    ? std::string(" (it lies under Program Files, which takes administrator rights)")
                    : std::string()) +
               ": run postpone-check as administrator for this once, or keep Postpone's folder where you may write, "
               "say %LOCALAPPDATA%\\Programs\\Postpone";
    }
    return target.settingsPath + " could not be written (Windows answered error " + std::to_string(error) +
           "); it is as it was";
}

}  // namespace

bool AddEntry(const AddRequest& request, const CheckTarget& target, Report* report) {
    LogonProgram program;
    bool listed = false;
    if (!ProgramToAdd(request, target, &program, &listed, report)) return false;
    const std::string command = program.program.empty() ? program.origin : CommandOfLogonProgram(program);
    // Postpone reads and starts through the ANSI functions: what the code
    // page cannot spell has come back as "?", and would start something else.
    if ((program.program + program.folder).find('?') != std::string::npos) {
        Refuse(report, command + ": the ANSI code page cannot spell it (it reads \"?\" where the name has a character "
                       "of another script), and Postpone would start something else or nothing");
        return false;
    }
    if (!program.whyNot.empty()) {
        Refuse(report, program.origin + ": Postpone cannot start it: " + program.whyNot);
        return false;
    }
    std::string before;
    bool existed = false;
    if (!ReadSettingsBytes(target.settingsPath, &before, &existed)) {
        Refuse(report, target.settingsPath + " cannot be read");
        return false;
    }
    if (const int n = ExistingEntry(program)) {
        Refuse(report, "entry " + Dec(n) + " starts " + command + " already");
        return false;
    }
    const std::vector<bool> used = NumbersInUse();
    int n = 1;
    while (IsEntryNumber(n) && used[static_cast<size_t>(n)]) ++n;
    if (!IsEntryNumber(n)) {
        Refuse(report, "every entry number, 1 to " + Dec(kMaxEntries) + ", is taken in " + target.settingsPath);
        return false;
    }

    // Each value written so that the settings reader gives back the text.
    std::vector<std::string> lines = {
        "; added by postpone-check from " + program.origin,
        EntryKeyName(KeyStem::Program, n) + "=" + WrittenValue(program.program),
        EntryKeyName(KeyStem::CmdLine, n) + "=" + WrittenValue(program.arguments, true),
        EntryKeyName(KeyStem::DelaySec, n) + "=" + Dec(request.delay),
        EntryKeyName(KeyStem::WndStyle, n) + "=" + Dec(program.show),
    };
    if (!program.folder.empty()) lines.push_back(EntryKeyName(KeyStem::StartIn, n) + "=" + WrittenValue(program.folder));
    std::string after, why;
    if (!WithLinesInLaunch(before, lines, &after, &why)) {
        Refuse(report, target.settingsPath + " is not read by Windows as written: " + why);
        return false;
    }
    const uint32_t error = ReplaceSettingsFile(target.settingsPath, existed, before, after);
    if (error != 0) {
        Refuse(report, WhyNotWritten(error, target));
        return false;
    }
    AddLine(report, Printable("added: entry " + Dec(n) + " of " + target.settingsPath + ", started " +
                              DelayText(request.delay) + ": " + command +
                              (existed ? "; the previous file is kept as " + BackupPathOf(target.settingsPath)
                                       : std::string("; the file is new"))));
    // The original, switched off as Task Manager does it (a program given by
    // its path is no original of the lists).
    if (!listed || program.switchedOff) return true;
    if (SwitchOff(program) == 0) {
        AddLine(report, Printable("switched off: " + program.origin + ", as Task Manager's Startup tab does it (switch "
                                  "it on there, or in Settings, Apps, Startup, to undo)"));
    } else {
        AddWarning(report, Printable(program.origin + " still starts at logon as well: switching it off takes "
                                     "administrator rights; switch it off in Task Manager's Startup tab"));
    }
    return true;
}
