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
// variables ("Recognized environment variables", Microsoft): kept from the
// console. Any other variable of the console is its own.
const char* const kGivenAtLogon[] = {
    "ALLUSERSPROFILE", "APPDATA", "CLIENTNAME", "COMMONPROGRAMFILES", "COMMONPROGRAMFILES(ARM)",
    "COMMONPROGRAMFILES(X86)", "COMMONPROGRAMW6432", "COMPUTERNAME", "COMSPEC", "DRIVERDATA", "HOMEDRIVE", "HOMEPATH",
    "HOMESHARE", "LOCALAPPDATA", "LOGONSERVER", "NUMBER_OF_PROCESSORS", "ONEDRIVE", "ONEDRIVECOMMERCIAL",
    "ONEDRIVECONSUMER", "OS", "PATHEXT", "PROCESSOR_ARCHITECTURE", "PROCESSOR_ARCHITEW6432", "PROCESSOR_IDENTIFIER",
    "PROCESSOR_LEVEL", "PROCESSOR_REVISION", "PROGRAMDATA", "PROGRAMFILES", "PROGRAMFILES(ARM)", "PROGRAMFILES(X86)",
    "PROGRAMW6432", "PSMODULEPATH", "PUBLIC", "SESSIONNAME", "SYSTEMDRIVE", "SYSTEMROOT", "TEMP", "TMP", "USERDNSDOMAIN",
    "USERDOMAIN", "USERDOMAIN_ROAMINGPROFILE", "USERNAME", "USERPROFILE", "WINDIR",
};

bool GivenAtLogon(const std::string& name) {
    const std::string upper = UpperCase(name);
    // Wine's own (WINECONFIGDIR, WINEHOMEDIR, WINEUSERNAME, winsysdir, ...):
    // its loader and shell find the user's folders through them. Windows has
    // none of them.
    if (upper.rfind("WINE", 0) == 0 || upper == "WINSYSDIR") return true;
    for (const char* given : kGivenAtLogon) {
        if (upper == given) return true;
    }
    return false;
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
    Environment given;
    for (const auto& variable : environments.console) {
        if (GivenAtLogon(variable.first)) given.push_back(variable);
    }
    UseEnvironment(given);
    ApplyRegistryVariables(system, false);
    ApplyRegistryVariables(user, true);
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
