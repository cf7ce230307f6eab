// What kind of file a program path names, as CreateProcessA judges it: by
// its bytes (a PE image), except for batch files, which it hands to cmd.exe
// by their extension.
#pragma once

#include <cstdint>
#include <string>

enum class FileKind {
    Program,          // a PE image that Windows runs from a 32-bit process
    OtherMachine,     // a PE image for a machine Windows cannot run here
    Library,          // a DLL: a PE image, but no program
    DosProgram,       // MZ without a PE image: DOS or 16-bit Windows
    BatchFile,        // .bat or .cmd
    Shortcut,         // .lnk
    WebLink,          // .url
    Script,           // .ps1, .vbs, .js, .py, ...
    Other,            // a document, or a file named .exe that is no program
};

struct FileFacts {
    FileKind kind = FileKind::Other;
    uint16_t machine = 0;     // the PE image's machine type
    bool is32Bit = false;     // an x86 image
};

// How many of a file's first bytes KindOfFile wants to see at the most.
constexpr uint32_t kFileStartSize = 4096;

// `start` is the file's first bytes (up to kFileStartSize), `name` its path.
FileFacts KindOfFile(const std::string& name, const std::string& start);

// For a program image: empty when Windows running on `nativeMachine` starts
// it from a 32-bit process (x86 everywhere; x64 on x64 and ARM64 Windows;
// ARM64 on ARM64 Windows alone); else why not, as a sentence.
std::string WhyMachineDoesNotRun(const FileFacts& facts, const std::string& path, uint16_t nativeMachine);

// For a kind that does not start: why, and what to write instead, for entry
// n, as a sentence. `path` is the file.
std::string WhyKindDoesNotStart(const FileFacts& facts, const std::string& path, int n);
