#include "error_words.h"

#include "text.h"

namespace {

struct ErrorWords {
    uint32_t code;
    const char* name;
    const char* meaning;  // for a start
};

// The answers CreateProcess gives to a start that Postpone hands it ("System
// Error Codes" in Microsoft's documentation).
const ErrorWords kErrors[] = {
    {2, "ERROR_FILE_NOT_FOUND", "the program is not there"},
    {3, "ERROR_PATH_NOT_FOUND", "a folder on the program's path is not there"},
    {5, "ERROR_ACCESS_DENIED", "no right to run it, or it names a folder"},
    {87, "ERROR_INVALID_PARAMETER", "Windows did not take the command"},
    {193, "ERROR_BAD_EXE_FORMAT", "it is not a program that Windows starts (a shortcut, a script, a document, a DLL)"},
    {206, "ERROR_FILENAME_EXCED_RANGE", "the command line is longer than Windows takes"},
    {216, "ERROR_EXE_MACHINE_TYPE_MISMATCH", "it is a program for a processor that this Windows does not run"},
    {225, "ERROR_VIRUS_INFECTED", "the virus scanner stopped it"},
    {267, "ERROR_DIRECTORY", "its StartIn folder is not there"},
    {740, "ERROR_ELEVATION_REQUIRED", "it needs administrator rights, which Postpone does not have"},
    {1260, "ERROR_ACCESS_DISABLED_BY_POLICY", "a policy (AppLocker, Software Restriction Policies) blocks it"},
    {4551, "ERROR_SYSTEM_INTEGRITY_POLICY_VIOLATION", "an application control policy (Smart App Control, WDAC) blocks it"},
    {14001, "ERROR_SXS_CANT_GEN_ACTCTX", "its side-by-side configuration is wrong (a missing Visual C++ runtime, say)"},
};

const ErrorWords* Find(uint32_t code) {
    for (const ErrorWords& error : kErrors) {
        if (error.code == code) return &error;
    }
    return nullptr;
}

}  // namespace

std::string WindowsError(uint32_t code) {
    const ErrorWords* error = Find(code);
    return "error " + std::to_string(code) + (error != nullptr ? std::string(", ") + error->name : std::string());
}

std::string WhatErrorMeans(uint32_t code) {
    const ErrorWords* error = Find(code);
    return error != nullptr ? error->meaning : std::string();
}
