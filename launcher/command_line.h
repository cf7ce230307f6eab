// The command line: removing the executable's name, splitting the tail into
// parameters, and reading the switches into slot 0, ExecuteMode and StartStamp.
//
// This grammar is also the only channel from list mode to its execute-mode
// copies: what SpawnEntries writes is read back by exactly these rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The platform's command line without the executable's name and the blanks
// after it. Never reads past the end: an empty line or a quoted name without
// its closing quote gives an empty tail.
std::string RemoveProgramName(const std::string& commandLine);

// One parameter of a tail, as the tokenizer found it.
struct Parameter {
    std::string text;   // the parameter, quotes removed, doubled quotes made single
    size_t rawStart;    // where its first character lies in the tail
    size_t rawEnd;      // one past its last character (a closing quote excluded)
    bool quoted;
};

// Reads the next parameter of `tail` from `*position` on and advances it.
// False when no parameter is left. Blanks (code 32 only) separate parameters;
// a quoted parameter runs to the next lone double quote, with "" inside it
// standing for one double quote; an empty quoted parameter is skipped.
bool NextParameter(const std::string& tail, size_t* position, Parameter* parameter);

// n = 0: the whole CommandTail; n >= 1: its n-th parameter, or "" when it has
// fewer than n.
std::string ParameterAt(int n);

// True when the parameter's first character is "/".
bool IsSwitch(const std::string& parameter);

// The key of a switch parameter: its first three characters, upper-cased,
// without trailing blanks.
std::string SwitchKey(const std::string& parameter);

// True when `tail` asks for help: "/H" or "/?" anywhere in the upper-cased
// tail, except inside the value of a /P:, /C:, /W:, /F: or /L: parameter.
bool AsksForHelp(const std::string& tail);

// What the switches of a tail set. Each field is changed only by its own
// switch; a later switch overrides an earlier one.
struct Switches {
    bool* execute;          // /E
    std::string* program;   // /P:
    std::string* arguments; // /C:
    int32_t* delay;         // /D:
    int32_t* style;         // /S:
    int32_t* stamp;         // /T:
    std::string* startIn;   // /W:
    std::string* waitFor;   // /F:
    int32_t* waitSec;       // /M:
    std::string* logFile;   // /L:
    int32_t* number;        // /N:
    std::string* runTag;    // /R:
    int32_t* waitIdle;      // /I:
};

// Reads the switches of `tail` into `switches` (help is not looked for).
void ReadSwitches(const std::string& tail, const Switches& switches);

// Shows help and returns false when the tail asks for it; otherwise reads the
// switches into slot 0, ExecuteMode and StartStamp and returns true.
bool ParseCommandLine();
