#include "report.h"

namespace {

std::string Count(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

void AddLine(Report* report, const std::string& line) {
    report->text += line;
    report->text += "\r\n";
}

void AddWarning(Report* report, const std::string& what) {
    ++report->warnings;
    AddLine(report, "warning: " + what);
}

void AddError(Report* report, const std::string& what) {
    report->failed = true;
    AddLine(report, "error: " + what);
}

void AddTally(Report* report) {
    AddLine(report, "summary: " + Count(report->starts, "entry starts", "entries start") + ", " +
                        Count(report->skipped, "entry skipped", "entries skipped") + ", " +
                        Count(report->warnings, "warning", "warnings"));
}

int32_t ExitCodeOf(const Report& report) {
    if (report.failed || report.starts == 0) return 2;
    if (report.skipped > 0 || report.warnings > 0) return 1;
    return 0;
}

std::string Printable(const std::string& text) {
    std::string shown = text;
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 32 || c == 127) c = '?';
    }
    return shown;
}
