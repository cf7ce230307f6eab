// Any profile values (lines of key=value, as the profile reader would deliver
// them) through LoadLaunchList: the accepted entries follow the rules.
#include "fuzz_support.h"
#include "launch_list.h"

namespace {

const char kSettings[] = "c:\\tools\\postpone.ini";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FreshState();
    SettingsPath = kSettings;
    Fake.environment["A"] = "  c:\\a dir ";
    Fake.environment["LONG"] = std::string(300, 'L');
    const std::string text(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        const size_t equals = line.find('=');
        if (equals != std::string::npos) {
            std::string value = line.substr(equals + 1);
            value = value.substr(0, value.find('\0'));  // the reader delivers NUL-terminated text
            SetProfileValue(kSettings, line.substr(0, equals), value);
        }
        start = end + 1;
    }
    LoadLaunchList();
    FUZZ_CHECK(EntryCount >= 0 && EntryCount <= 100);
    for (int k = 1; k <= EntryCount; ++k) {
        FUZZ_CHECK(Table.WndStyle[k] >= 0 && Table.WndStyle[k] <= 6);
        FUZZ_CHECK(Table.DelaySec[k] != -1);
        FUZZ_CHECK(Table.CmdLine[k] != "\"\"" && Table.CmdLine[k] != "NoNeNi");
    }
    for (int k = EntryCount + 1; k < kSlotCount; ++k) FUZZ_CHECK(Table.Program[k].empty());
    return 0;
}
