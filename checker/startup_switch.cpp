#include "startup_switch.h"

#include "registry.h"
#include "startup_approved.h"

std::string SwitchedOffValue(uint64_t fileTime) {
    std::string value = {3, 0, 0, 0};
    for (int i = 0; i < 8; ++i) value += static_cast<char>(fileTime >> (8 * i) & 0xFF);
    return value;
}

uint32_t SwitchOff(const LogonProgram& program) {
    // 64-bit Task Manager writes the switches in the 64-bit view, HKLM's
    // 32-bit Run values' under Run32.
    return OsWriteRegistryBinary(program.root, StartupApprovedSubkey(program.approvedList).c_str(),
                                 OsRegistryView::Bits64, program.approvedName.c_str(),
                                 SwitchedOffValue(OsFileTimeNow()));
}
