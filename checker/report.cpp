#include "report.h"

#include "text.h"

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
                        Count(report->fails, "fails", "fail") + ", " + Dec(report->skipped) + " skipped, " +
                        Count(report->warnings, "warning", "warnings"));
}

int32_t ExitCodeOf(const Report& report) {
    if (report.failed || report.starts == 0) return 2;
    if (report.fails > 0 || report.skipped > 0 || report.warnings > 0) return 1;
    return 0;
}

std::string EntryPrefix(int n) {
    return "entry " + Dec(n) + ": ";
}

std::string EntryKeyPrefix(int n, KeyStem stem) {
    return EntryPrefix(n) + EntryKeyName(stem, n) + ": ";
}

std::string HexDigits(uint32_t value, int digits) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) text += kHex[(value >> shift) & 15];
    return text;
}

std::string Printable(const std::string& text) {
    std::string shown;
    shown.reserve(text.size());
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 32 && byte != 127) {
            shown += c;
        } else {
            shown += "<0x" + HexDigits(byte, 2) + ">";
        }
    }
    return shown;
}
