#include "encoding_check.h"

#include "code_page.h"
#include "key_names.h"
#include "launch_list.h"

namespace {

constexpr uint32_t kUtf8CodePage = 65001;

}  // namespace

bool HoldsUtf8Text(const std::string& value) {
    bool multiByte = false;
    for (size_t i = 0; i < value.size();) {
        const unsigned char lead = static_cast<unsigned char>(value[i]);
        const size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 && lead >= 0xC2 ? 2 : (lead & 0xF0) == 0xE0 ? 3
                              : (lead & 0xF8) == 0xF0 && lead <= 0xF4 ? 4 : 0;
        if (length == 0 || i + length > value.size()) return false;
        for (size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(value[i + k]) & 0xC0) != 0x80) return false;
        }
        multiByte = multiByte || length > 1;
        i += length;
    }
    return multiByte;
}

bool ByteOrderMarkHidesSection(const std::string& start) {
    if (start.compare(0, 3, "\xEF\xBB\xBF") != 0) return false;
    size_t i = 3;
    while (i < start.size() && (start[i] == ' ' || start[i] == '\t')) ++i;
    return i < start.size() && start[i] == '[';
}

void CheckEncoding(Report* report) {
    if (OsAnsiCodePage() == kUtf8CodePage) return;
    for (const std::string& key : ReadKeyNames(kLaunchSection)) {
        // Only the values Postpone reads reach it; and one read per key of
        // a file with 100000 other keys takes minutes under WOW64.
        if (!ClassifyKeyName(key).read) continue;
        const std::string value = ReadSettingsText(key);
        if (!HoldsUtf8Text(value)) continue;
        AddWarning(report, "the settings file was saved as UTF-8, and Windows reads it in the ANSI code page: " +
                               Printable(key) + "=" + Printable(value) + " reaches Postpone as shown here, garbled "
                               "(Caf\xC3\xA9 for Caf\xE9); save it as ANSI, or as UTF-16 (Notepad: Save as, Encoding)");
        return;
    }
}
