// Any settings file (lines of key=value, "[section]" lines, as the profile
// reader would deliver them) through the checker: it never crashes, every
// entry line it writes is one of the two forms, and the report ends with the
// tally that matches its exit code. The same bytes are the record of starts
// that a LogFile=postpone.log in it names.
#include <algorithm>

#include "check_main.h"
#include "fuzz_support.h"

namespace {

const char kChecker[] = "C:\\Tools\\postpone-check.exe";
const char kSettings[] = "c:\\tools\\postpone.ini";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FreshState();
    Fake.files["C:\\Tools\\Postpone.exe"];
    Fake.files["C:\\Apps\\a.exe"];
    Fake.environment["SYSTEMROOT"] = "C:\\Windows";
    const std::string text(reinterpret_cast<const char*>(data), size);
    Fake.files["c:\\tools\\postpone.log"].start = text;
    std::string section = "Launch";
    SetProfileValueIn(kSettings, section, "", "");
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        // The reader delivers NUL-terminated text, and a line end ends a value.
        line = line.substr(0, std::min(line.find('\0'), line.find('\r')));
        const size_t equals = line.find('=');
        if (line.size() > 1 && line[0] == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
        } else if (equals != std::string::npos && equals > 0) {
            SetProfileValueIn(kSettings, section, line.substr(0, equals), line.substr(equals + 1));
        }
        start = end + 1;
    }
    Report report;
    const int32_t code = CheckMain("", kChecker, &report);
    FUZZ_CHECK(code >= 0 && code <= 2);
    FUZZ_CHECK(code == ExitCodeOf(report));
    FUZZ_CHECK(Fake.created.empty() && Fake.boxes.empty());
    const size_t last = report.text.rfind("summary: ");
    FUZZ_CHECK(last != std::string::npos && report.text.find("\r\n", last) == report.text.size() - 2);
    int starts = 0, fails = 0;
    for (size_t at = 0; at < report.text.size();) {
        const size_t end = report.text.find("\r\n", at);
        FUZZ_CHECK(end != std::string::npos);  // every line is ended
        const std::string line = report.text.substr(at, end - at);
        if (line.rfind("entry ", 0) == 0) {
            const size_t colon = line.find(": ");
            FUZZ_CHECK(colon != std::string::npos);
            const std::string verdict = line.substr(colon + 2);
            const bool starting = verdict.rfind("starts ", 0) == 0, failing = verdict.rfind("fails to start ", 0) == 0;
            FUZZ_CHECK(starting || failing || verdict.rfind("skipped: ", 0) == 0);
            starts += starting;
            fails += failing;
        }
        at = end + 2;
    }
    FUZZ_CHECK(starts == report.starts && fails == report.fails);
    FUZZ_CHECK((code == 2) == (report.failed || starts == 0));
    return 0;
}
