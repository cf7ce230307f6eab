#include "spawn.h"

#include "clock.h"
#include "globals.h"
#include "process_start.h"
#include "text.h"

namespace {

constexpr uint32_t kHidden = 0;  // SW_HIDE, and no waiting

}  // namespace

std::string QuoteParameter(const std::string& value) {
    std::string quoted = "\"";
    for (char c : value) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string BuildCopyCommand(const std::string& exePath, const std::string& program, const std::string& arguments,
                             int32_t delay, int32_t style, int32_t stamp) {
    return BuildCopyCommand(exePath, program, arguments, delay, style, Dec(stamp));
}

std::string BuildCopyCommand(const std::string& exePath, const std::string& program, const std::string& arguments,
                             int32_t delay, int32_t style, const std::string& stampText) {
    // Left unquoted, a path with a blank would let the platform try shorter
    // paths first (C:\Program.exe); a program with a blank or a quote would
    // come back in pieces.
    std::string command = HoldsBlank(exePath) ? "\"" + exePath + "\"" : exePath;
    command += " /E ";
    const bool quoteProgram = HoldsBlank(program) || program.find('"') != std::string::npos;
    command += quoteProgram ? QuoteParameter("/P:" + program) : "/P:" + program;
    command += " " + QuoteParameter("/C:" + arguments);
    command += " /D:" + Dec(delay);
    command += " /S:" + Dec(style);
    command += " /T:" + stampText;
    return command;
}

void SpawnEntries() {
    const int32_t count = EntryCount;
    for (int k = 1; k <= count; ++k) {
        // The clock is read afresh for each copy: its delay counts from now.
        StartProgram(BuildCopyCommand(ExePath, Table.Program[k], Table.CmdLine[k], Table.DelaySec[k],
                                      Table.WndStyle[k], NowSeconds()),
                     kHidden);
    }
}
