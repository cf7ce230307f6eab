// The checker's rules that are functions of text alone: what a file is by its
// bytes and name, the manifest's execution level, installer detection, UTF-8
// text, the byte-order mark, escaped control characters.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "elevation.h"
#include "encoding_check.h"
#include "file_kind.h"
#include "paths.h"
#include "platform_fake.h"
#include "redirection.h"
#include "wait_check.h"
#include "report.h"

namespace {

std::string Pe(uint16_t machine, uint16_t characteristics = 0x0102, uint32_t headerAt = 0x80) {
    std::string image(headerAt + 24, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    image[0x3C] = static_cast<char>(headerAt & 0xFF);
    image[0x3D] = static_cast<char>(headerAt >> 8);
    image.replace(headerAt, 4, std::string("PE\0\0", 4));
    image[headerAt + 4] = static_cast<char>(machine & 0xFF);
    image[headerAt + 5] = static_cast<char>(machine >> 8);
    image[headerAt + 22] = static_cast<char>(characteristics & 0xFF);
    image[headerAt + 23] = static_cast<char>(characteristics >> 8);
    return image;
}

TEST(KindOfFile, JudgesByTheBytesExceptForBatchFiles) {
    struct Case {
        const char* name;
        std::string start;
        FileKind kind;
        bool is32Bit;
    };
    const std::vector<Case> cases = {
        {"C:\\a.exe", Pe(0x14C), FileKind::Program, true},
        {"C:\\a.exe", Pe(0x8664), FileKind::Program, false},
        {"C:\\a.exe", Pe(0xAA64), FileKind::Program, false},
        {"C:\\a.txt", Pe(0x14C), FileKind::Program, true},   // CreateProcess reads bytes, not names
        {"C:\\a.exe", Pe(0x200), FileKind::OtherMachine, false},
        {"C:\\a.dll", Pe(0x14C, 0x2102), FileKind::Library, true},
        {"C:\\a.exe", "MZ" + std::string(100, '\0'), FileKind::DosProgram, false},  // no PE header
        {"C:\\a.exe", "MZ", FileKind::DosProgram, false},
        {"C:\\a.exe", Pe(0x14C, 0x0102, 0x7000).substr(0, 0x100), FileKind::DosProgram, false},  // header beyond
        {"C:\\a.exe", "not a program", FileKind::Other, false},
        {"C:\\go.BAT", "@echo off", FileKind::BatchFile, false},
        {"C:\\go.cmd", Pe(0x14C), FileKind::BatchFile, false},  // the extension wins for batch files
        {"C:\\App.lnk", std::string("L\0\0\0", 4), FileKind::Shortcut, false},
        {"C:\\Site.URL", "[InternetShortcut]", FileKind::WebLink, false},
        {"C:\\s.ps1", "Write-Host", FileKind::Script, false},
        {"C:\\s.vbs", "", FileKind::Script, false},
        {"C:\\notes.txt", "hello", FileKind::Other, false},
        {"C:\\m.txt", "Mary had", FileKind::Other, false},   // an M alone is no MZ
        {"C:\\dir.d\\noext", "", FileKind::Other, false},
    };
    for (const Case& c : cases) {
        const FileFacts facts = KindOfFile(c.name, c.start);
        EXPECT_EQ(facts.kind, c.kind) << c.name << " " << c.start.size();
        EXPECT_EQ(facts.is32Bit, c.is32Bit) << c.name;
    }
    FileFacts foreign;
    foreign.kind = FileKind::OtherMachine;
    foreign.machine = 0x200;
    EXPECT_NE(WhyKindDoesNotStart(foreign, "C:\\a.exe", 1).find("(machine type 0x0200)"), std::string::npos);
    FileFacts script;
    script.kind = FileKind::Script;
    EXPECT_NE(WhyKindDoesNotStart(script, "C:\\s.vbs", 2).find("; write Program2=wscript.exe and CmdLine2=\"\"C:\\s.vbs\"\""),
              std::string::npos);
}

TEST(ExecutionLevelOf, ReadsRequestedExecutionLevel) {
    const std::vector<std::pair<std::string, ExecutionLevel>> cases = {
        {"", ExecutionLevel::Unstated},
        {"<assembly><trustInfo><security><requestedPrivileges><requestedExecutionLevel level=\"requireAdministrator\" "
         "uiAccess=\"false\"/></requestedPrivileges></security></trustInfo></assembly>",
         ExecutionLevel::RequireAdministrator},
        {"<requestedExecutionLevel uiAccess='false' level = 'highestAvailable' />", ExecutionLevel::HighestAvailable},
        {"<ms_asmv2:requestedExecutionLevel level=\"asInvoker\"/>", ExecutionLevel::AsInvoker},
        {"<!-- no level: requestedExecutionLevel --><assembly/>", ExecutionLevel::Unstated},
        {"<requestedExecutionLevel uiAccess=\"false\"/><x level=\"requireAdministrator\"/>", ExecutionLevel::Unstated},
    };
    for (const auto& c : cases) EXPECT_EQ(ExecutionLevelOf(c.first), c.second) << c.first;
    EXPECT_TRUE(AsksForUiAccess("<asmv3:requestedExecutionLevel level=\"asInvoker\" uiAccess=\"TRUE\"/>"));
    EXPECT_FALSE(AsksForUiAccess("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"));
    EXPECT_FALSE(AsksForUiAccess("<description>requestedExecutionLevel uiAccess=\"true\"</description>"));
}

TEST(IsFlaggedByInstallerDetection, OnlyThirtyTwoBitProgramsWithoutALevelWhoseNameLooksLikeAnInstaller) {
    EXPECT_TRUE(IsFlaggedByInstallerDetection("C:\\Tools\\MySetup.exe", true, ExecutionLevel::Unstated));
    EXPECT_TRUE(IsFlaggedByInstallerDetection("C:\\Tools\\driver_update2.exe", true, ExecutionLevel::Unstated));
    EXPECT_TRUE(IsFlaggedByInstallerDetection("C:\\Tools\\PATCH.EXE", true, ExecutionLevel::Unstated));
    EXPECT_FALSE(IsFlaggedByInstallerDetection("C:\\Setup\\tool.exe", true, ExecutionLevel::Unstated));  // the file's name only
    EXPECT_FALSE(IsFlaggedByInstallerDetection("C:\\Tools\\setup.exe", false, ExecutionLevel::Unstated));
    EXPECT_FALSE(IsFlaggedByInstallerDetection("C:\\Tools\\setup.exe", true, ExecutionLevel::AsInvoker));
}

TEST(Encoding, TellsUtf8TextAndAByteOrderMarkThatHidesASection) {
    EXPECT_TRUE(HoldsUtf8Text("C:\\Caf\xC3\xA9\\a.exe"));
    EXPECT_TRUE(HoldsUtf8Text("\xE2\x82\xAC and \xF0\x9F\x98\x80"));
    EXPECT_FALSE(HoldsUtf8Text("C:\\Caf\xE9\\a.exe"));  // ANSI
    EXPECT_FALSE(HoldsUtf8Text("plain"));
    EXPECT_FALSE(HoldsUtf8Text("\xC3"));              // cut
    EXPECT_FALSE(HoldsUtf8Text("\xC0\xAF"));          // overlong
    EXPECT_TRUE(HoldsUtf8Text("\xF4\x8F\xBF\xBF"));     // the last code point
    EXPECT_FALSE(HoldsUtf8Text("\xF5\x80\x80\x80"));    // beyond it
    EXPECT_FALSE(HoldsUtf8Text("\xE2\x28\xA1"));        // a bad second byte
    EXPECT_TRUE(ByteOrderMarkHidesSection("\xEF\xBB\xBF[Launch]\r\n"));
    EXPECT_TRUE(ByteOrderMarkHidesSection("\xEF\xBB\xBF  [Launch]"));
    EXPECT_FALSE(ByteOrderMarkHidesSection("\xEF\xBB\xBF; Postpone\r\n[Launch]"));
    EXPECT_FALSE(ByteOrderMarkHidesSection("[Launch]"));
}

TEST(Printable, ShowsControlCharactersEscaped) {
    EXPECT_EQ(Printable("a\x1B[31mb\tc\x7F"), "a<0x1B>[31mb<0x09>c<0x7F>");
    EXPECT_EQ(Printable("C:\\Caf\xE9"), "C:\\Caf\xE9");
}

}  // namespace

namespace {

// Which program images Windows starts from a 32-bit process, by the machine
// it runs on (IsWow64Process2's native machine).
TEST(WhyMachineDoesNotRun, JudgesByTheMachineWindowsRunsOn) {
    const uint16_t x86 = 0x014C, x64 = 0x8664, arm64 = 0xAA64;
    struct Row {
        uint16_t image, native;
        bool runs;
    };
    const Row rows[] = {
        {x86, x86, true},    {x64, x86, false},  {arm64, x86, false}, {x86, x64, true},    {x64, x64, true},
        {arm64, x64, false}, {x86, arm64, true}, {x64, arm64, true},  {arm64, arm64, true},
    };
    for (const Row& row : rows) {
        FileFacts facts;
        facts.kind = FileKind::Program;
        facts.machine = row.image;
        EXPECT_EQ(WhyMachineDoesNotRun(facts, "C:\\a.exe", row.native).empty(), row.runs) << row.image << " on " << row.native;
    }
    FileFacts facts;
    facts.kind = FileKind::Program;
    facts.machine = arm64;
    EXPECT_EQ(WhyMachineDoesNotRun(facts, "C:\\a.exe", x64),
              "C:\\a.exe is a program for ARM64 processors, which this x64 Windows does not run (error 216, "
              "ERROR_EXE_MACHINE_TYPE_MISMATCH)");
}

}  // namespace

namespace {

// A relative path from a working folder, as the platform folds it: never above
// the drive or the share.
TEST(ResolvedFrom, FoldsDotsWithinTheDriveOrTheShare) {
    const std::vector<std::array<std::string, 3>> rows = {
        {"C:\\Tools", "x.exe", "C:\\Tools\\x.exe"},
        {"C:\\", "x.exe", "C:\\x.exe"},
        {"C:\\Tools\\Sub", "..\\..\\..\\x.exe", "C:\\x.exe"},
        {"C:\\Tools", ".\\a\\.\\b/../x.exe", "C:\\Tools\\a\\x.exe"},
        {"C:\\Tools", "\\x.exe", "C:\\x.exe"},
        {"\\\\nas\\share\\dir", "..\\..\\x.exe", "\\\\nas\\share\\x.exe"},
        {"\\\\nas\\share", "\\x.exe", "\\\\nas\\share\\x.exe"},
        {"C:\\Tools", "D:\\x.exe", "D:\\x.exe"},
    };
    for (const auto& row : rows) EXPECT_EQ(ResolvedFrom(row[0], row[1]), row[2]) << row[0] << " + " << row[1];
}

TEST(NetworkShareOf, NamesTheShareOfAUncPathOrANetworkDrive) {
    ResetFake();
    Fake.networkDrives.insert("Z:\\");
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"\\\\nas\\tools\\a.exe", "\\\\nas\\tools"}, {"\\\\nas\\tools", "\\\\nas\\tools"},
        {"\\\\nas", ""}, {"\\\\nas\\", ""}, {"\\\\\\tools\\a", ""}, {"\\\\?\\C:\\a.exe", ""},
        {"\\\\.\\pipe\\x", ""}, {"\\\\a\\b", "\\\\a\\b"}, {"\\\\nas\\\\x", ""}, {"Z:\\Work", "Z:\\"}, {"Z:", "Z:\\"}, {"C:\\Work", ""}, {"Z", ""},
    };
    for (const auto& row : rows) EXPECT_EQ(NetworkShareOf(row.first), row.second) << row.first;
}

TEST(As64BitNames, WritesTheRedirectedVariablesByTheir64BitNamesUnderWow64) {
    ResetFake();
    const std::string text = "%ProgramFiles%\\A;%PROGRAMFILES%\\B;%CommonProgramFiles%\\C";
    EXPECT_EQ(As64BitNames(text), text);
    Fake.wow64 = true;
    EXPECT_EQ(As64BitNames(text), "%ProgramW6432%\\A;%ProgramW6432%\\B;%CommonProgramW6432%\\C");
}

}  // namespace

#include "registry_buffers.h"

namespace {

TEST(RegistryBuffers, OnlyTheShortBufferGrowsAndTheNameStaysWithinWhatTheAnsiFunctionReads) {
    EXPECT_EQ(FirstRegistryBuffers(16383, 10).name, kLargestValueName);  // not 32768
    RegistryBuffers buffers = FirstRegistryBuffers(10, 10);
    EXPECT_EQ(buffers.name, 22u);
    EXPECT_EQ(buffers.data, 12u);
    ASSERT_TRUE(GrowRegistryBuffers(&buffers, 100));  // the data was short
    EXPECT_EQ(buffers.name, 22u);
    EXPECT_EQ(buffers.data, 102u);
    ASSERT_TRUE(GrowRegistryBuffers(&buffers, 100));  // the data fitted: the name was short
    EXPECT_EQ(buffers.name, 44u);
    EXPECT_EQ(buffers.data, 102u);
    while (GrowRegistryBuffers(&buffers, 0)) EXPECT_LE(buffers.name, kLargestValueName);
    EXPECT_EQ(buffers.name, kLargestValueName);
    EXPECT_FALSE(GrowRegistryBuffers(&buffers, kLargestValueData + 1));
}

}  // namespace
