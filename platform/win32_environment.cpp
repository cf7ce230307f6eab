// The wrappers of environment.h over the kernel's environment block.
#include "environment.h"

#include <windows.h>

#include <cstring>

std::vector<std::pair<std::string, std::string>> OsEnvironmentVariables() {
    std::vector<std::pair<std::string, std::string>> variables;
    char* block = GetEnvironmentStringsA();
    if (block == nullptr) return variables;
    for (const char* entry = block; *entry != '\0'; entry += std::strlen(entry) + 1) {
        const char* equals = std::strchr(entry + 1, '=');  // "=C:=C:\x" names a drive's folder
        if (entry[0] == '=' || equals == nullptr) continue;
        variables.emplace_back(std::string(entry, equals), std::string(equals + 1));
    }
    FreeEnvironmentStringsA(block);
    return variables;
}

void OsSetEnvironmentVariable(const char* name, const char* value) {
    SetEnvironmentVariableA(name, value);
}
