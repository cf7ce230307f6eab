/* The smallest waiting process: imports only the kernel and sleeps. The
 * benchmark compares a waiting copy of Postpone with it. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR tail, int show) {
    (void)instance; (void)previous; (void)tail; (void)show;
    Sleep(INFINITE);
    return 0;
}
