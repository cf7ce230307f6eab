#include "logon_environment.h"

#include <set>

#include "launch_list.h"
#include "environment.h"
#include "paths.h"
#include "program_search.h"
#include "registry.h"
#include "text.h"

namespace {

const char kSystemVariables[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
const char kUserVariables[] = "Environment";

// What Windows sets for every process of a logon besides the registry's
// variables ("Recognized environment variables", Microsoft), kept from the
// console, in three groups by when Windows sets them. Any other variable of
// the console is its own.
//
// The machine's: before the system key, which may override them (its TEMP,
// %SystemRoot%\TEMP, holds until the user's key gives the user's own).
const char* const kMachineGiven[] = {
    "ALLUSERSPROFILE", "COMMONPROGRAMFILES(ARM)", "COMMONPROGRAMFILES(X86)", "COMMONPROGRAMW6432", "COMPUTERNAME",
    "COMSPEC", "DRIVERDATA", "NUMBER_OF_PROCESSORS", "OS", "PATHEXT", "PROCESSOR_IDENTIFIER", "PROCESSOR_LEVEL",
    "PROCESSOR_REVISION", "PROGRAMDATA", "PROGRAMFILES(ARM)", "PROGRAMFILES(X86)", "PROGRAMW6432", "PSMODULEPATH",
    "PUBLIC", "SYSTEMDRIVE", "SYSTEMROOT", "TEMP", "TMP", "WINDIR",
};
// The logon's own, after the system key: the system key of every Windows
// holds USERNAME=SYSTEM, and the logon's user name replaces it.
const char* const kLogonOwn[] = {
    "APPDATA", "CLIENTNAME", "HOMEDRIVE", "HOMEPATH", "HOMESHARE", "LOCALAPPDATA", "LOGONSERVER", "ONEDRIVE",
    "ONEDRIVECOMMERCIAL", "ONEDRIVECONSUMER", "SESSIONNAME", "USERDNSDOMAIN", "USERDOMAIN",
    "USERDOMAIN_ROAMINGPROFILE", "USERNAME", "USERPROFILE",
};
// The process's own view, last: WOW64 gives a 32-bit program (Postpone is
// one) PROCESSOR_ARCHITECTURE=x86, PROCESSOR_ARCHITEW6432 and the 32-bit
// program folders, whatever the system key says ("WOW64 Implementation
// Details", Microsoft).
const char* const kProcessView[] = {
    "COMMONPROGRAMFILES", "PROCESSOR_ARCHITECTURE", "PROCESSOR_ARCHITEW6432", "PROGRAMFILES",
};

enum class Given { No, Machine, Logon, Process };

Given GivenAtLogon(const std::string& name) {
    const std::string upper = UpperCase(name);
    // Wine's own (WINECONFIGDIR, WINEHOMEDIR, WINEUSERNAME, winsysdir, ...):
    // its loader and shell find the user's folders through them. Windows has
    // none of them.
    if (upper.rfind("WINE", 0) == 0 || upper == "WINSYSDIR") return Given::Machine;
    const struct {
        const char* const* names;
        size_t count;
        Given given;
    } groups[] = {{kMachineGiven, sizeof kMachineGiven / sizeof *kMachineGiven, Given::Machine},
                  {kLogonOwn, sizeof kLogonOwn / sizeof *kLogonOwn, Given::Logon},
                  {kProcessView, sizeof kProcessView / sizeof *kProcessView, Given::Process}};
    for (const auto& group : groups) {
        for (size_t i = 0; i < group.count; ++i) {
            if (upper == group.names[i]) return group.given;
        }
    }
    return Given::No;
}

void SetVariables(const Environment& variables) {
    for (const auto& variable : variables) OsSetEnvironmentVariable(variable.first.c_str(), variable.second.c_str());
}

// Sets the variables of one registry key, each expanded against what is set
// so far; a user Path goes after the system's.
void ApplyRegistryVariables(const std::vector<OsRegistryValue>& values, bool user) {
    for (const OsRegistryValue& value : values) {
        if (value.type != kRegistryText && value.type != kRegistryExpandedText) continue;
        std::string text = value.type == kRegistryExpandedText ? ExpandVariables(value.data) : value.data;
        if (user && UpperCase(value.name) == "PATH") {
            const std::string system = ExpandVariables("%PATH%");
            if (system != "%PATH%" && !system.empty()) text = system + ";" + text;
        }
        OsSetEnvironmentVariable(value.name.c_str(), text.c_str());
    }
}

}  // namespace

Environments ReadEnvironments() {
    Environments environments;
    environments.console = OsEnvironmentVariables();
    std::vector<OsRegistryValue> system, user;
    const bool systemRead =
        OsReadRegistryValues(OsRegistryRoot::LocalMachine, kSystemVariables, OsRegistryView::Bits64, &system) !=
        OsRegistryRead::Missing;
    const bool userRead =
        OsReadRegistryValues(OsRegistryRoot::CurrentUser, kUserVariables, OsRegistryView::Bits64, &user) !=
        OsRegistryRead::Missing;
    if (!systemRead && !userRead) {
        environments.logon = environments.console;  // nothing better to go by
        return environments;
    }
    // In Windows' order: the machine's variables, the system key, the
    // logon's own, the user's key; the process's view over all.
    Environment machine, logon, process;
    for (const auto& variable : environments.console) {
        const Given given = GivenAtLogon(variable.first);
        if (given != Given::No) (given == Given::Machine ? machine : given == Given::Logon ? logon : process).push_back(variable);
    }
    UseEnvironment(machine);
    ApplyRegistryVariables(system, false);
    SetVariables(logon);
    ApplyRegistryVariables(user, true);
    SetVariables(process);
    environments.logon = OsEnvironmentVariables();
    UseEnvironment(environments.console);
    return environments;
}

void UseEnvironment(const Environment& wanted) {
    // Names are compared without regard to case, as the block's are.
    std::set<std::string> names;
    for (const auto& variable : wanted) names.insert(UpperCase(variable.first));
    for (const auto& variable : OsEnvironmentVariables()) {
        if (names.count(UpperCase(variable.first)) == 0) OsSetEnvironmentVariable(variable.first.c_str(), nullptr);
    }
    for (const auto& variable : wanted) OsSetEnvironmentVariable(variable.first.c_str(), variable.second.c_str());
}

void CheckConsoleEnvironment(int n, const std::string& command, bool startsAtLogon, const std::string& exePath,
                             const std::string& workingFolder, const Environments& environments, Report* report) {
    if (environments.console == environments.logon) return;
    const std::string key = EntryKeyPrefix(n, KeyStem::Program);
    const std::string written = ReadSettingsText(EntryKeyName(KeyStem::Program, n));
    const std::string program = ProgramOf(command);
    UseEnvironment(environments.console);
    const std::string inConsole = ExpandVariables(written);
    const FoundProgram found = startsAtLogon ? FoundProgram() : FindProgram(ProgramOf(inConsole), FolderOf(exePath),
                                                                            workingFolder);
    UseEnvironment(environments.logon);
    const std::string atLogon = ExpandVariables(written);
    if (inConsole != atLogon) {
        AddWarning(report, Printable(key + written + " is " + atLogon + " at logon, but " + inConsole + " in this "
                                     "console, whose environment is not the one a logon gives Postpone"));
    } else if (found.found) {
        AddWarning(report, Printable(key + program + " is found only through this console's PATH, as " + found.path +
                                     ": a logon does not give Postpone that PATH; write the full path"));
    }
}
