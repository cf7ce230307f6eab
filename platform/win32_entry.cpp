// The process entry of Postpone.exe: a GUI-subsystem program with no window.
#include <windows.h>

#include "postpone_main.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int showCommand) {
    RunProcess(instance, showCommand);
}
