#include "file_kind.h"

#include <cstring>
#include <initializer_list>

#include "advice.h"
#include "error_words.h"
#include "launch_list.h"
#include "paths.h"
#include "program_image.h"
#include "redirection.h"
#include "report.h"
#include "shell.h"
#include "text.h"

namespace {

constexpr uint16_t kMachineI386 = 0x014C;
constexpr uint16_t kMachineAmd64 = 0x8664;
constexpr uint16_t kMachineArm64 = 0xAA64;
constexpr uint16_t kImageDll = 0x2000;  // IMAGE_FILE_DLL in the file header's characteristics

uint32_t Read32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

uint16_t Read16(const std::string& bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

bool OneOf(const std::string& extension, std::initializer_list<const char*> extensions) {
    for (const char* candidate : extensions) {
        if (extension == candidate) return true;
    }
    return false;
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// Explorer, a 64-bit program, opens a script with the 64-bit host; Postpone,
// 32-bit, given the host's bare name, gets SysWOW64's under WOW64, with the
// 32-bit view of System32, %ProgramFiles% and the registry. Sysnative reaches
// the 64-bit one.
std::string ScriptHost(const std::string& relativeToSystem32) {
    return OsRunsUnderWow64() ? "%windir%\\Sysnative\\" + relativeToSystem32 : FileNameOf(relativeToSystem32);
}

}  // namespace

FileFacts KindOfFile(const std::string& name, const std::string& start) {
    FileFacts facts;
    const std::string extension = ExtensionOf(name);
    // Batch files go to the command interpreter by their extension, whatever
    // they hold.
    if (OneOf(extension, {".bat", ".cmd"})) {
        facts.kind = FileKind::BatchFile;
        return facts;
    }
    if (start.size() >= 2 && start[0] == 'M' && start[1] == 'Z') {
        facts.kind = FileKind::DosProgram;
        if (start.size() < 0x40) return facts;
        const uint32_t header = Read32(start, 0x3C);
        if (header > start.size() || start.size() - header < 24 || std::memcmp(start.data() + header, "PE\0\0", 4) != 0) {
            return facts;
        }
        facts.machine = Read16(start, header + 4);
        facts.is32Bit = facts.machine == kMachineI386;
        if ((Read16(start, header + 22) & kImageDll) != 0) {
            facts.kind = FileKind::Library;
        } else if (facts.machine == kMachineI386 || facts.machine == kMachineAmd64 || facts.machine == kMachineArm64) {
            facts.kind = FileKind::Program;
        } else {
            facts.kind = FileKind::OtherMachine;
        }
        return facts;
    }
    if (extension == ".lnk") {
        facts.kind = FileKind::Shortcut;
    } else if (extension == ".url") {
        facts.kind = FileKind::WebLink;
    } else if (OneOf(extension, {".ps1", ".vbs", ".vbe", ".js", ".jse", ".wsf", ".py", ".pyw", ".ahk"})) {
        facts.kind = FileKind::Script;
    }
    return facts;
}

std::string WhyMachineDoesNotRun(const FileFacts& facts, const std::string& path, uint16_t nativeMachine) {
    if (facts.kind != FileKind::Program) return std::string();
    const bool runs = facts.machine == kMachineI386 ||
                      (facts.machine == kMachineAmd64 && (nativeMachine == kMachineAmd64 || nativeMachine == kMachineArm64)) ||
                      (facts.machine == kMachineArm64 && nativeMachine == kMachineArm64);
    if (runs) return std::string();
    const auto name = [](uint16_t machine) {
        return machine == kMachineAmd64 ? std::string("x64") : machine == kMachineArm64 ? std::string("ARM64")
                                                                                        : std::string("x86");
    };
    return path + " is a program for " + name(facts.machine) + " processors, which this " + name(nativeMachine) +
           " Windows does not run (" + WindowsError(216) + ")";
}

std::string WhyKindDoesNotStart(const FileFacts& facts, const std::string& path, int n) {
    const std::string refused = " Windows does not start it as a program (" + WindowsError(193) + ")";
    const std::string extension = ExtensionOf(path);
    switch (facts.kind) {
        case FileKind::Program:
        case FileKind::BatchFile:
            return std::string();
        case FileKind::OtherMachine: {
            return path + " is a program for another kind of processor (machine type 0x" + HexDigits(facts.machine, 4) +
                   "):" + refused;
        }
        case FileKind::Library:
            return path + " is a library (DLL), not a program:" + refused;
        case FileKind::DosProgram:
            return path + " is a DOS or 16-bit Windows program: 64-bit Windows does not run it at all";
        case FileKind::Shortcut: {
            OsShellLink link;
            const OsShellLinkRead read = OsReadShellLink(path.c_str(), &link);
            if (read == OsShellLinkRead::NoPath) {
                return path + " is a shortcut to something that is no file (a Store app, a shell folder):" + refused +
                       "; find the program it opens and write that in " + EntryKeyName(KeyStem::Program, n);
            }
            if (read != OsShellLinkRead::Read) {
                return path + " is a shortcut:" + refused + "; write the program it starts in " +
                       EntryKeyName(KeyStem::Program, n) + " (its Properties, Target)";
            }
            // As Explorer, 64-bit, means the shortcut's variables.
            return path + " is a shortcut:" + refused + "; " +
                   WriteEntry(n, As64BitNames(link.target), link.arguments, As64BitNames(link.folder));
        }
        case FileKind::WebLink:
            return path + " is a web link:" + refused + "; to open it in the browser, " +
                   WriteEntry(n, "%windir%\\explorer.exe", Quoted(path));
        case FileKind::Script:
            if (extension == ".ps1") {
                return path + " is a PowerShell script:" + refused + "; " +
                       WriteEntry(n, ScriptHost("WindowsPowerShell\\v1.0\\powershell.exe"),
                                  "-ExecutionPolicy Bypass -File " + Quoted(path));
            }
            if (OneOf(extension, {".vbs", ".vbe", ".js", ".jse", ".wsf"})) {
                return path + " is a script:" + refused + "; " + WriteEntry(n, ScriptHost("wscript.exe"), Quoted(path));
            }
            return path + " is a script:" + refused + "; write the program that runs it in " + EntryKeyName(KeyStem::Program, n) +
                   " and " + Quoted(path) + " in " + EntryKeyName(KeyStem::CmdLine, n) + " (for Python, pyw.exe)";
        case FileKind::Other:
            if (extension == ".exe" || extension == ".com") return path + " is not a program, whatever its name:" + refused;
            return path + " is a document, not a program:" + refused + "; to open it with the program it belongs to, " +
                   WriteEntry(n, "%windir%\\explorer.exe", Quoted(path));
    }
    return std::string();
}
