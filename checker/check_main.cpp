#include "check_main.h"

#include <exception>
#include <vector>

#include "add_entry.h"
#include "also_started.h"
#include "check_target.h"
#include "command_line.h"
#include "elevation_token.h"
#include "entry_check.h"
#include "file_system.h"
#include "logon_starters.h"
#include "globals.h"
#include "logon_environment.h"
#include "logon_programs.h"
#include "mark_of_web.h"
#include "number.h"
#include "platform.h"
#include "record_check.h"
#include "run_record.h"
#include "settings_file_check.h"
#include "settings_location.h"
#include "standard_output.h"
#include "text.h"

namespace {

constexpr int32_t kCannotCheck = 2;

void Write(const std::string& text) {
    OsWriteStandardOutput(text.data(), static_cast<uint32_t>(text.size()));
}

[[noreturn]] void EndOutOfMemory() {
    Write("error: out of memory\r\n");
    OsExitProcess(kCannotCheck);
}

bool AsksForUsage(const std::string& parameter) {
    return parameter == "/?" || parameter == "-?" || parameter == "-h" || parameter == "/h" || parameter == "/H" ||
           parameter == "--help";
}

}  // namespace

std::string CheckUsage() {
    return "postpone-check: shows what Postpone will start from its settings file, and why an entry will not.\r\n"
           "\r\n"
           "usage: postpone-check [PATH]\r\n"
           "       postpone-check [PATH] /add N [/delay:S]\r\n"
           "       postpone-check [PATH] [/delay:S] /add PROGRAM [ARGUMENTS]\r\n"
           "  PATH  a settings file; or a Postpone executable under any name, whose settings file\r\n"
           "        it reads; or a folder, meaning the Postpone.exe in it.\r\n"
           "  Without PATH: the settings file of the Postpone.exe beside postpone-check.exe.\r\n"
           "  /add N  makes program N of the report's \"also started at logon\" an entry of the\r\n"
           "        settings file, started S seconds after Postpone (60 without /delay:), and\r\n"
           "        switches the original off as Task Manager's Startup tab does.\r\n"
           "  /add PROGRAM  the same for a program or a shortcut (.lnk) given by its path; the\r\n"
           "        rest of the line is the program's arguments, exactly as typed.\r\n"
           "\r\n"
           "It never starts a program, and changes nothing but what /add says.\r\n"
           "Exit code: 0 every entry starts and there is no warning; 1 an entry is skipped or\r\n"
           "there is a warning; 2 no settings file, it cannot be read, or no entry starts;\r\n"
           "3 /add was refused, and nothing was changed.\r\n";
}

int32_t CheckMain(const std::string& commandTail, const std::string& checkerPath, Report* report) {
    std::vector<std::string> parameters;
    AddRequest add;
    size_t position = 0;
    Parameter parameter;
    while (NextParameter(commandTail, &position, &parameter)) {
        const std::string lower = LowerCase(parameter.text);
        if (lower.rfind("/delay:", 0) == 0) {
            add.delay = ReadNumber(parameter.text.substr(7));
        } else if (lower == "/add" && !add.asked && NextParameter(commandTail, &position, &parameter)) {
            add.asked = true;
            add.what = parameter.text;
            const bool number = add.what.find_first_not_of("0123456789") == std::string::npos;
            // After a program's path, the rest of the line is its arguments
            // as typed; after a number, only /delay: may follow.
            const size_t rest = commandTail.find_first_not_of(' ', position);
            if (!number && rest != std::string::npos) add.arguments = commandTail.substr(rest);
            if (!number) break;
        } else if (lower == "/add") {
            AddError(report, "/add takes N, a number of the report's list, or the path of a program; postpone-check /? "
                             "tells more");
            AddTally(report);
            return kCannotCheck;
        } else {
            parameters.push_back(parameter.text);
        }
    }
    if (!parameters.empty() && AsksForUsage(parameters[0])) {
        report->text = CheckUsage();
        return 0;
    }
    if (parameters.size() > 1) {
        AddError(report, "one PATH at the most (a path with blanks goes in double quotes); postpone-check /? tells more");
        AddTally(report);
        return kCannotCheck;
    }

    CheckTarget target;
    std::string error;
    if (!ResolveTarget(parameters.empty() ? std::string() : parameters[0], checkerPath, &target, &error)) {
        AddError(report, error);
        AddTally(report);
        return ExitCodeOf(*report);
    }
    // The launcher's procedures read these, as in Postpone's list mode.
    ExePath = target.exePath;
    SettingsPath = target.settingsPath;
    // Judged in the environment a logon gives Postpone, not in this console's.
    const Environments environments = ReadEnvironments();
    UseEnvironment(environments.logon);
    if (add.asked && !AddEntry(add, target, report)) {
        UseEnvironment(environments.console);
        return kAddRefused;
    }
    if (CheckSettingsFile(target, report)) {
        const std::vector<WorkingFolder> folders =
            ReportLogonStarters(FindLogonStarters(target.exePath), target.exePath, target.settingsPath, report);
        CheckMarkOfTheWeb(target.exePath, "", true, report);
        ReportAlsoStarted(ListLogonPrograms(target.exePath), report);
        // An elevated process has drive mappings of its own (User Account
        // Control keeps a mapped drive to the logon session that made it).
        if (OsRunsElevated()) {
            AddLine(report, "note: postpone-check runs as administrator: the mapped network drives it sees are not the "
                            "ones your logon gives Postpone; run it without elevation for those");
        }
        // Read as list mode reads it, in the logon's environment.
        LogFile = ReadLogFile();
        const LastRun lastRun = CheckRecord(report);
        CheckEntries(target, folders, environments, lastRun, report);
    }
    UseEnvironment(environments.console);
    AddTally(report);
    return ExitCodeOf(*report);
}

int32_t RunChecker() {
    std::set_terminate(EndOutOfMemory);
    const char* line = OsGetCommandLine();
    // Started through a link (winget's Links folder puts one on PATH), the
    // checker looks for Postpone.exe beside its own real file.
    const std::string module = ModuleFileName(nullptr);
    const std::string real = OsFinalPath(module.c_str());
    Report report;
    const int32_t code = CheckMain(RemoveProgramName(line != nullptr ? line : ""), real.empty() ? module : real, &report);
    Write(report.text);
    // Double-clicked in Explorer, the console would close with the report.
    if (OsConsoleIsItsOwn()) {
        Write("\r\nPress a key to close this window.\r\n");
        OsWaitForKey();
    }
    return code;
}
