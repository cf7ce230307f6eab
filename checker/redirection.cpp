#include "redirection.h"

#include "file_system.h"
#include "launch_list.h"
#include "program_image.h"
#include "paths.h"
#include "text.h"

namespace {

struct Redirected {
    const char* seen;      // what a 32-bit process is shown under this name
    const char* real;      // the name that reaches the 64-bit folder from it
    const char* written;   // what to write in the settings file
};

// File system redirection sends a 32-bit process's %windir%\System32 to
// SysWOW64, and Sysnative is the way through; %ProgramFiles% and
// %CommonProgramFiles% expand to the x86 folders in a 32-bit process, and
// %ProgramW6432% and %CommonProgramW6432% name the 64-bit ones.
const Redirected kRedirected[] = {
    {"%SystemRoot%\\System32", "%SystemRoot%\\Sysnative", "%windir%\\Sysnative"},
    {"%ProgramFiles%", "%ProgramW6432%", "%ProgramW6432%"},
    {"%CommonProgramFiles%", "%CommonProgramW6432%", "%CommonProgramW6432%"},
};

}  // namespace

std::string As64BitNames(const std::string& text) {
    if (!OsRunsUnderWow64()) return text;
    std::string result = text;
    for (size_t i = 1; i < sizeof kRedirected / sizeof kRedirected[0]; ++i) {  // the variables, not System32
        const std::string seen = LowerCase(kRedirected[i].seen);
        for (size_t at = LowerCase(result).find(seen); at != std::string::npos;
             at = LowerCase(result).find(seen, at + 1)) {
            result.replace(at, seen.size(), kRedirected[i].written);
        }
    }
    return result;
}

std::string SystemToolHint(const std::string& name) {
    if (!OsRunsUnderWow64() || name.find_first_of("\\/:") != std::string::npos) return std::string();
    const std::string file = WithExeExtension(name);
    for (const char* folder : {"%windir%\\Sysnative\\", "%windir%\\Sysnative\\OpenSSH\\"}) {
        if (!IsFile(ExpandVariables(folder + file))) continue;
        return " (Postpone is a 32-bit program: Windows shows it System32 as the 32-bit folder, which has no " + file +
               "; the 64-bit one is at " + ExpandVariables(folder + file) + ": write " + folder + file + ")";
    }
    return std::string();
}

std::string RedirectionHint(const std::string& missingPath) {
    if (!OsRunsUnderWow64()) return std::string();
    const std::string lower = LowerCase(missingPath);
    for (const Redirected& folder : kRedirected) {
        const std::string seen = ExpandVariables(folder.seen);
        const std::string real = ExpandVariables(folder.real);
        if (seen.find('%') != std::string::npos || real.find('%') != std::string::npos) continue;
        if (LowerCase(seen) == LowerCase(real)) continue;  // not redirected
        if (lower.rfind(LowerCase(seen) + "\\", 0) != 0) continue;
        const std::string rest = missingPath.substr(seen.size());
        if (!Exists(real + rest)) continue;
        return " (Postpone is a 32-bit program: Windows shows it " + seen + " as the 32-bit folder, and the 64-bit " +
               "program is at " + real + rest + ": write " + folder.written + rest + ")";
    }
    return std::string();
}
