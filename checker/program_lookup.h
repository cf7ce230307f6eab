// Whether the platform will find the program of a command text when the copy
// starts it.
#pragma once

#include <string>

// The program of a command text as the platform takes it: the text inside
// the first pair of double quotes when it starts with one, otherwise up to
// the first blank.
std::string ProgramOf(const std::string& command);

// Empty when the platform finds `program` for a copy of the executable in
// `exeFolder`; otherwise why not, as a sentence. A name without a folder is
// looked for as the platform does: in the executable's folder, the Windows
// folders and PATH, with ".exe" added when it has no extension. A relative
// path is taken from `exeFolder`, where a Startup shortcut starts by default.
std::string WhyProgramIsNotFound(const std::string& program, const std::string& exeFolder);

// The folder part of a path, without its last backslash ("" when none).
std::string FolderOf(const std::string& path);
