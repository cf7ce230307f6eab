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

namespace {

// /P: and /W: values go in double quotes when they hold a blank or a quote:
// left bare, the copy would read them back in pieces.
std::string PathSwitch(const std::string& key, const std::string& path) {
    const bool quote = HoldsBlank(path) || path.find('"') != std::string::npos;
    return quote ? QuoteParameter(key + path) : key + path;
}

}  // namespace

std::string BuildCopyCommand(const std::string& exePath, const std::string& program, const std::string& arguments,
                             int32_t delay, int32_t style, int32_t stamp, const std::string& startIn) {
    LaunchEntry entry;
    entry.Program = program;
    entry.CmdLine = arguments;
    entry.DelaySec = delay;
    entry.WndStyle = style;
    entry.StartIn = startIn;
    return BuildCopyCommand(exePath, entry, Dec(stamp));
}

std::string BuildCopyCommand(const std::string& exePath, const LaunchEntry& entry, const std::string& stampText,
                             const std::string& logFile, const std::string& runTag) {
    // Left unquoted, a path with a blank would let the platform try shorter
    // paths first (C:\Program.exe); a program with a blank or a quote would
    // come back in pieces.
    std::string command = HoldsBlank(exePath) ? "\"" + exePath + "\"" : exePath;
    command += " /E ";
    command += PathSwitch("/P:", entry.Program);
    command += " " + QuoteParameter("/C:" + entry.CmdLine);
    command += " /D:" + Dec(entry.DelaySec);
    command += " /S:" + Dec(entry.WndStyle);
    if (!entry.StartIn.empty()) command += " " + PathSwitch("/W:", entry.StartIn);
    if (!entry.WaitFor.empty()) command += " " + PathSwitch("/F:", entry.WaitFor) + " /M:" + Dec(entry.WaitSec);
    if (entry.WaitIdle != 0) {
        // Its longest wait is the same WaitSec, written once.
        if (entry.WaitFor.empty()) command += " /M:" + Dec(entry.WaitSec);
        command += " /I:" + Dec(entry.WaitIdle);
    }
    if (!logFile.empty()) {
        command += " " + PathSwitch("/L:", logFile) + " /N:" + Dec(entry.Number);
        if (!runTag.empty()) command += " /R:" + runTag;
    }
    command += " /T:" + stampText;
    return command;
}

void SpawnEntries(std::vector<CopyFailure>* failures) {
    const int32_t count = EntryCount;
    for (int k = 1; k <= count; ++k) {
        // The clock is read afresh for each copy: its delay counts from now.
        LaunchEntry entry;
        entry.Program = Table.Program[k];
        entry.CmdLine = Table.CmdLine[k];
        entry.DelaySec = Table.DelaySec[k];
        entry.WndStyle = Table.WndStyle[k];
        entry.StartIn = Table.StartIn[k];
        entry.WaitFor = Table.WaitFor[k];
        entry.WaitSec = Table.WaitSec[k];
        entry.WaitIdle = Table.WaitIdle[k];
        entry.Number = Table.Number[k];
        const std::string command = BuildCopyCommand(ExePath, entry, Dec(NowSeconds()), LogFile, RunTag);
        StartOutcome outcome;
        StartProgram(command, kHidden, std::string(), &outcome);
        if (!outcome.started && failures != nullptr) failures->push_back(CopyFailure{k, command, outcome.error});
    }
}
