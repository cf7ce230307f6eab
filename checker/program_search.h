// Which file the platform starts for the command a copy hands it: the program
// found as CreateProcessA finds it, from a given working folder.
#pragma once

#include <string>

// The program of a command text as the platform takes it: the text inside
// the first pair of double quotes when it starts with one, otherwise up to
// the first blank or tab.
std::string ProgramOf(const std::string& command);

struct FoundProgram {
    bool found = false;
    std::string path;       // the file that starts, when found
    std::string why;        // when not found: why, as a sentence
    bool usesWorkingFolder = false;  // another working folder could change the answer
};

// Finds `program` for a copy of Postpone in `exeFolder` whose working folder
// is `workingFolder` (the Start in of whatever started Postpone).
FoundProgram FindProgram(const std::string& program, const std::string& exeFolder, const std::string& workingFolder);
