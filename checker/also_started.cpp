#include "also_started.h"

#include "delayed_start.h"
#include "entry_check.h"
#include "text.h"

std::string CommandOfLogonProgram(const LogonProgram& program) {
    std::string command = BuildTargetCommand(program.program, program.arguments);
    if (program.arguments.empty()) command.pop_back();  // the blank before no arguments
    return command + ", " + (program.folder.empty() ? std::string("no Start in") : "in " + program.folder) + ", " +
           ShowStateName(program.show);
}

void ReportAlsoStarted(const std::vector<LogonProgram>& programs, Report* report) {
    AddLine(report, "also started at logon (scheduled tasks, services and Store apps are not looked at):" +
                        std::string(programs.empty() ? " nothing else" : ""));
    for (size_t i = 0; i < programs.size(); ++i) {
        const LogonProgram& program = programs[i];
        std::string line = "  " + Dec(static_cast<int32_t>(i + 1)) + ": " + program.origin + ": ";
        line += program.program.empty() ? std::string("no program") : CommandOfLogonProgram(program);
        if (program.switchedOff) line += "; switched off in Task Manager's Startup tab";
        if (!program.whyNot.empty()) line += "; Postpone cannot start it: " + program.whyNot;
        AddLine(report, Printable(line));
    }
    if (!programs.empty()) {
        AddLine(report, "note: postpone-check /add N takes one of them over: it becomes an entry of the settings file, "
                        "and the original is switched off as Task Manager does it");
    }
}
