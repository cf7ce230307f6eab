#include "mark_of_web.h"

#include "file_system.h"
#include "text.h"

namespace {

// The stream as the file system names it: "FILE:Zone.Identifier" ("Zone.Identifier
// Stream Name", [MS-FSCC] 5.6.1, Microsoft's documentation).
const char kStream[] = ":Zone.Identifier";
// URLZONE_INTERNET and URLZONE_UNTRUSTED ("URLZONE enumeration", Microsoft's
// documentation): the zones whose files Explorer warns about.
constexpr int32_t kInternetZone = 3;
constexpr int32_t kUntrustedZone = 4;

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

int32_t ZoneOfStream(const std::string& text) {
    // An INI-shaped text: "[ZoneTransfer]", then "ZoneId=3" (and the
    // addresses it came from), CR LF line ends.
    bool inTransfer = false;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (!line.empty() && line[0] == '[') {
            inTransfer = LowerCase(line) == "[zonetransfer]";
            continue;
        }
        const size_t equals = line.find('=');
        if (!inTransfer || equals == std::string::npos || LowerCase(Trimmed(line.substr(0, equals))) != "zoneid") continue;
        const std::string value = Trimmed(line.substr(equals + 1));
        if (value.empty() || value.size() > 9 || value.find_first_not_of("0123456789") != std::string::npos) return -1;
        return static_cast<int32_t>(std::stol(value));
    }
    return -1;
}

void CheckMarkOfTheWeb(const std::string& path, const std::string& what, bool startedByExplorer, Report* report) {
    std::string text(4096, '\0');
    const int32_t read = OsReadFileStart((path + kStream).c_str(), &text[0], static_cast<uint32_t>(text.size()));
    if (read <= 0) return;  // no stream: not marked (or not on NTFS)
    text.resize(static_cast<size_t>(read));
    const int32_t zone = ZoneOfStream(text);
    if (zone != kInternetZone && zone != kUntrustedZone) return;
    AddWarning(report, Printable(what + path + " carries the mark of the web (downloaded, zone " + Dec(zone) + "): " +
                                 (startedByExplorer ? "Windows may hold it at logon behind a security prompt "
                                                      "(SmartScreen, or \"Open File - Security Warning\")"
                                                    : "Postpone starts it all the same, but Windows may ask before "
                                                      "it runs when you start it yourself") +
                                 "; in PowerShell, Unblock-File '" + path + "' removes the mark (or Properties, "
                                 "Unblock)"));
}
