// The launcher's main procedure and the process entry that calls it.
#pragma once

#include <cstdint>

#include "platform.h"

// Chooses between help, execute mode and list mode; the result is the process
// exit code: 0 after help or when nothing was loaded, the number of entries
// spawned in list mode, StartProgram's result in execute mode.
int32_t PostponeMain(OsHandle module, OsHandle previousInstance, const char* commandTail, int32_t showCommand);

// Reads the platform's command line once, removes the executable's name,
// runs PostponeMain and ends the process with its result.
[[noreturn]] void RunProcess(OsHandle module, int32_t showCommand);
