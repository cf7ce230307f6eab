// The process entry of postpone-check.exe: a console program.
#include "check_main.h"

int main() {
    return RunChecker();
}
