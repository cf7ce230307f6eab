// Any program, argument and folder texts without NUL, written by list mode
// onto a copy's command line, come back exactly in the copy, and never ask
// for help.
#include <algorithm>

#include "command_line.h"
#include "fuzz_support.h"
#include "spawn.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    FreshState();
    // First byte: which executable path; then program NUL arguments NUL folder.
    const std::string exePath = (data[0] & 1) ? "C:\\Program Files\\Postpone\\Postpone.exe" : "C:\\Tools\\Postpone.exe";
    std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t split = rest.find('\0');
    const std::string program = rest.substr(0, split);
    std::string arguments = split == std::string::npos ? std::string() : rest.substr(split + 1);
    const size_t folderAt = arguments.find('\0');
    std::string startIn = folderAt == std::string::npos ? std::string() : arguments.substr(folderAt + 1);
    arguments = arguments.substr(0, folderAt);
    startIn.erase(std::remove(startIn.begin(), startIn.end(), '\0'), startIn.end());
    const int32_t delay = static_cast<int32_t>(size * 7919) - 100000;
    const int32_t style = data[0] % 7;
    const int32_t stamp = static_cast<int32_t>(size % 86401);

    CommandTail = RemoveProgramName(BuildCopyCommand(exePath, program, arguments, delay, style, stamp, startIn));
    FUZZ_CHECK(ParseCommandLine());
    FUZZ_CHECK(ExecuteMode);
    FUZZ_CHECK(Table.Program[0] == program);
    FUZZ_CHECK(Table.CmdLine[0] == arguments);
    FUZZ_CHECK(Table.DelaySec[0] == delay);
    FUZZ_CHECK(Table.WndStyle[0] == style);
    FUZZ_CHECK(StartStamp == stamp);
    FUZZ_CHECK(Table.StartIn[0] == startIn);
    FUZZ_CHECK(Fake.boxes.empty());
    return 0;
}
