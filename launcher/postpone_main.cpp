#include "postpone_main.h"

#include <exception>
#include <string>

#include "command_line.h"
#include "delayed_start.h"
#include "globals.h"
#include "launch_list.h"
#include "record_writer.h"
#include "run_record.h"
#include "settings_location.h"
#include "spawn.h"
#include "text.h"

namespace {

// Nothing is ever reported: should memory run out in a text operation, the
// process ends quietly with 0 instead of through the runtime's abort path.
[[noreturn]] void EndQuietly() {
    OsExitProcess(0);
}

}  // namespace

int32_t PostponeMain(OsHandle module, OsHandle /*previousInstance*/, const char* /*commandTail*/,
                     int32_t /*showCommand*/) {
    ClearLaunchTable();
    if (!ParseCommandLine()) return 0;  // help was shown
    if (ExecuteMode) {
        // A copy that records learns which files its record may not be.
        if (!LogFile.empty()) {
            ExePath = UpToNul(ModuleFileName(module));
            SettingsPath = SettingsPathFor(ExePath);
        }
        return RunDelayed();
    }

    if (!LocateSettings(module)) return 0;
    LoadLaunchList();
    // The record of starts, when the settings file names one. A record on a
    // share whose server does not answer yet at logon blocks each call on
    // it for as long as the network redirector waits (about a minute): list
    // mode touches it only once every copy has started.
    LogFile = ReadLogFile();
    std::vector<CopyFailure> failures;
    if (!LogFile.empty()) RunTag = MakeRunTag();
    SpawnEntries(&failures);
    if (!LogFile.empty()) RecordListRun(failures);
    return EntryCount;
}

void RunProcess(OsHandle module, int32_t showCommand) {
    std::set_terminate(EndQuietly);
    const char* line = OsGetCommandLine();
    CommandTail = RemoveProgramName(line != nullptr ? line : "");
    OsExitProcess(static_cast<uint32_t>(PostponeMain(module, nullptr, CommandTail.c_str(), showCommand)));
}
