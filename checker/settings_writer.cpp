#include "settings_writer.h"

#include "code_page.h"
#include "file_system.h"
#include "file_writing.h"
#include "paths.h"

namespace {

// Larger than any settings file: Windows' reader reads 64 KiB of a section.
constexpr uint32_t kLargestSettingsFile = 4u << 20;

// The file as 16-bit units (a byte each for ANSI text), so that one rule
// serves both encodings.
struct Units {
    bool utf16 = false;
    std::vector<uint16_t> units;
};

bool Decode(const std::string& bytes, Units* text, std::string* why) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
        *why = "it is UTF-8 with a byte-order mark, whose first section Windows' reader does not find";
        return false;
    }
    if (bytes.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF) {
        *why = "it is UTF-16 big-endian, which Windows' reader does not read";
        return false;
    }
    text->utf16 = bytes.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE;
    if (!text->utf16) {
        for (size_t i = 0; i < bytes.size(); ++i) text->units.push_back(byte(i));
        return true;
    }
    if (bytes.size() % 2 != 0) {
        *why = "it is UTF-16 with an odd number of bytes: its last character is cut";
        return false;
    }
    for (size_t i = 0; i < bytes.size(); i += 2) text->units.push_back(static_cast<uint16_t>(byte(i) | byte(i + 1) << 8));
    return true;
}

std::string Encode(const Units& text) {
    std::string bytes;
    for (uint16_t unit : text.units) {
        bytes += static_cast<char>(unit & 0xFF);
        if (text.utf16) bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// ANSI text in the file's units.
std::vector<uint16_t> UnitsOf(const std::string& ansi, bool utf16) {
    std::vector<uint16_t> units;
    if (!utf16) {
        for (char c : ansi) units.push_back(static_cast<unsigned char>(c));
        return units;
    }
    units.resize(ansi.size() * 2 + 2);
    const uint32_t count = OsAnsiToWide(ansi.data(), static_cast<uint32_t>(ansi.size()), units.data(),
                                        static_cast<uint32_t>(units.size()));
    units.resize(count);
    return units;
}

bool IsBlank(uint16_t unit) {
    return unit == ' ' || unit == '\t';
}

// The name of a section header line ("[Launch]" after blanks), lower-cased
// in ASCII, "[" for one without a name; "" for any other line.
std::string SectionOf(const std::vector<uint16_t>& units, size_t start, size_t end) {
    while (start < end && IsBlank(units[start])) ++start;
    if (start == end || units[start] != '[') return std::string();
    std::string name;
    for (size_t i = start + 1; i < end && units[i] != ']'; ++i) {
        const uint16_t c = units[i];
        name += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c < 128 ? c : '?');
    }
    const size_t first = name.find_first_not_of(" \t"), last = name.find_last_not_of(" \t");
    return first == std::string::npos ? std::string("[") : name.substr(first, last - first + 1);
}

}  // namespace

bool WithLinesInLaunch(const std::string& bytes, const std::vector<std::string>& lines, std::string* result,
                       std::string* why) {
    Units text;
    if (!Decode(bytes, &text, why)) return false;
    std::vector<uint16_t>& units = text.units;
    const size_t bom = text.utf16 ? 1 : 0;
    // The file's own line end: its first; CR LF in a file that has none.
    std::vector<uint16_t> end = {'\r', '\n'};
    for (size_t i = bom; i < units.size(); ++i) {
        if (units[i] != '\r' && units[i] != '\n') continue;
        end.assign(1, units[i]);
        if (units[i] == '\r' && i + 1 < units.size() && units[i + 1] == '\n') end.push_back('\n');
        break;
    }
    // Where the first [Launch] section ends: after its last line that is not
    // blank (its own header line when it has none).
    size_t insertAt = std::string::npos;
    bool inLaunch = false, found = false;
    for (size_t start = bom; start < units.size();) {
        size_t stop = start;
        while (stop < units.size() && units[stop] != '\r' && units[stop] != '\n') ++stop;
        size_t next = stop;
        if (next < units.size() && units[next] == '\r') ++next;
        if (next < units.size() && units[next] == '\n' && (next == stop || units[next - 1] == '\r')) ++next;
        const std::string section = SectionOf(units, start, stop);
        if (!section.empty()) {
            if (inLaunch) break;  // the next section begins
            inLaunch = !found && section == "launch";
            found = found || inLaunch;
            if (inLaunch) insertAt = next;
        } else if (inLaunch) {
            bool blank = true;
            for (size_t i = start; i < stop; ++i) blank = blank && IsBlank(units[i]);
            if (!blank) insertAt = next;
        }
        start = next;
    }
    std::vector<uint16_t> added;
    const bool atEnd = insertAt == std::string::npos || insertAt == units.size();
    const size_t at = insertAt == std::string::npos ? units.size() : insertAt;
    // A last line without its line end gets one before anything follows it.
    if (atEnd && units.size() > bom && units.back() != '\r' && units.back() != '\n') added = end;
    if (!found) {
        const std::vector<uint16_t> header = UnitsOf("[Launch]", text.utf16);
        added.insert(added.end(), header.begin(), header.end());
        added.insert(added.end(), end.begin(), end.end());
    }
    for (const std::string& line : lines) {
        const std::vector<uint16_t> line16 = UnitsOf(line, text.utf16);
        added.insert(added.end(), line16.begin(), line16.end());
        added.insert(added.end(), end.begin(), end.end());
    }
    units.insert(units.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
    *result = Encode(text);
    return true;
}

std::string NewPathOf(const std::string& path) {
    return path + ".new";
}

std::string BackupPathOf(const std::string& path) {
    return path + ".bak";
}

bool ReadSettingsBytes(const std::string& path, std::string* bytes, bool* exists) {
    *exists = Exists(path);
    bytes->clear();
    if (!*exists) return true;
    bytes->assign(kLargestSettingsFile, '\0');
    const int32_t read = OsReadFileStart(path.c_str(), &(*bytes)[0], kLargestSettingsFile);
    if (read < 0 || static_cast<uint32_t>(read) >= kLargestSettingsFile) return false;
    bytes->resize(static_cast<size_t>(read));
    return true;
}

uint32_t ReplaceSettingsFile(const std::string& path, bool existed, const std::string& before, const std::string& after) {
    const std::string fresh = NewPathOf(path);
    OsDeleteFile(fresh.c_str());  // one left by a run that was cut short
    uint32_t error = OsWriteNewFile(fresh.c_str(), after.data(), static_cast<uint32_t>(after.size()));
    if (error != 0) return error;
    // What another program saved since it was read is not overwritten.
    std::string now;
    bool there = false;
    if (!ReadSettingsBytes(path, &now, &there) || there != existed || now != before) {
        OsDeleteFile(fresh.c_str());
        return kChangedMeanwhile;
    }
    error = existed ? OsReplaceFile(path.c_str(), fresh.c_str(), BackupPathOf(path).c_str())
                    : OsMoveFileNew(fresh.c_str(), path.c_str());
    if (error != 0) OsDeleteFile(fresh.c_str());
    return error;
}
