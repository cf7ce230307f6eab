// The process entry of Postpone.exe: a GUI-subsystem program with no window.
// It sits above the launcher and the platform layer and only joins them.
#include <windows.h>

#include "postpone_main.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int showCommand) {
    RunProcess(instance, showCommand);
}

// The C++ runtime's default reaction to an uncaught exception (running out
// of memory in a text operation, say) prints a message and aborts, and a GUI
// program's abort shows a box. Postpone reports nothing: it ends with 0.
// Defining the default handler here also keeps the runtime's demangler and
// printf out of the executable.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    ExitProcess(0);
}
}  // namespace __gnu_cxx
