#include "key_names.h"

#include "globals.h"
#include "launch_list.h"
#include "platform.h"
#include "run_record.h"
#include "text.h"

namespace {

constexpr uint32_t kFirstListSize = 4096;
// A list longer than this is taken as cut: no settings file an editor makes
// comes near it.
constexpr uint32_t kLargestListSize = 64u << 20;

std::vector<std::string> ReadNames(const char* section) {
    for (uint32_t size = kFirstListSize;; size *= 2) {
        std::vector<char> buffer(size + 2, '\0');
        // With no key (or no section) the reader lists the names, each ended
        // by a NUL; it returns size - 2 when the list did not fit.
        const uint32_t copied = OsGetPrivateProfileString(section, nullptr, "", buffer.data(), size, SettingsPath.c_str());
        if (copied + 2 >= size && size < kLargestListSize) continue;
        std::vector<std::string> names;
        for (uint32_t i = 0; i < copied && i < size;) {
            const std::string name(buffer.data() + i);
            if (name.empty()) break;
            names.push_back(name);
            i += static_cast<uint32_t>(name.size()) + 1;
        }
        return names;
    }
}

bool AllDigits(const std::string& text) {
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return !text.empty();
}

// Stems people write for the four keys, lower-cased.
struct Misspelling {
    const char* written;
    KeyStem meant;
};
const Misspelling kMisspellings[] = {
    {"prog", KeyStem::Program},        {"path", KeyStem::Program},        {"exe", KeyStem::Program},
    {"file", KeyStem::Program},        {"app", KeyStem::Program},         {"programm", KeyStem::Program},
    {"cmd", KeyStem::CmdLine},         {"commandline", KeyStem::CmdLine}, {"args", KeyStem::CmdLine},
    {"arguments", KeyStem::CmdLine},   {"params", KeyStem::CmdLine},      {"parameters", KeyStem::CmdLine},
    {"cmdlines", KeyStem::CmdLine},    {"delay", KeyStem::DelaySec},      {"delays", KeyStem::DelaySec},
    {"delaysecs", KeyStem::DelaySec},  {"wait", KeyStem::DelaySec},       {"sec", KeyStem::DelaySec},
    {"seconds", KeyStem::DelaySec},    {"style", KeyStem::WndStyle},      {"windowstyle", KeyStem::WndStyle},
    {"wndstyles", KeyStem::WndStyle},  {"window", KeyStem::WndStyle},     {"show", KeyStem::WndStyle},
    {"workdir", KeyStem::StartIn},     {"workingdir", KeyStem::StartIn},  {"folder", KeyStem::StartIn},
    {"startdir", KeyStem::StartIn},    {"dir", KeyStem::StartIn},         {"cwd", KeyStem::StartIn},
};

}  // namespace

std::vector<std::string> ReadSectionNames() {
    return ReadNames(nullptr);
}

std::vector<std::string> ReadKeyNames(const char* section) {
    return ReadNames(section);
}

KeyName ClassifyKeyName(const std::string& name) {
    KeyName key;
    const std::string lower = LowerCase(name);
    size_t digitsAt = lower.size();
    while (digitsAt > 0 && lower[digitsAt - 1] >= '0' && lower[digitsAt - 1] <= '9') --digitsAt;
    const std::string stem = lower.substr(0, digitsAt);
    const std::string digits = lower.substr(digitsAt);
    if (stem == LowerCase(kLogFileKey)) {
        key.read = digits.empty();
        if (!key.read) key.problem = std::string(kLogFileKey) + " takes no entry number: write " + kLogFileKey;
        return key;
    }

    for (int s = 0; s < kStemCount; ++s) {
        const KeyStem candidate = static_cast<KeyStem>(s);
        if (stem != LowerCase(StemName(candidate))) continue;
        key.stem = candidate;
        if (!AllDigits(digits)) {
            key.problem = "it has no entry number (" + std::string(StemName(candidate)) + "1 to " +
                          StemName(candidate) + "100)";
            return key;
        }
        // Postpone asks for the names EntryKeyName makes, for the entry
        // numbers it reads; any other spelling of the number is never asked for.
        const size_t significant = digits.find_first_not_of('0');
        const std::string number = significant == std::string::npos ? "0" : digits.substr(significant);
        const int n = number.size() > 3 ? 0 : std::stoi(number);
        if (!IsEntryNumber(n)) {
            key.problem = "entries are numbered 1 to 100";
            return key;
        }
        if (LowerCase(EntryKeyName(candidate, n)) != lower) {
            key.problem = "entry numbers have no leading zeros: write " + EntryKeyName(candidate, n);
            return key;
        }
        key.read = true;
        key.entry = n;
        return key;
    }

    key.problem = "its name is not ";
    for (int s = 0; s < kStemCount; ++s) {
        key.problem += std::string(s == 0 ? "" : s + 1 == kStemCount ? " or " : ", ") + StemName(static_cast<KeyStem>(s));
    }
    key.problem += " followed by an entry number";
    for (const Misspelling& misspelling : kMisspellings) {
        if (stem == misspelling.written) {
            key.problem += ": did you mean " + std::string(StemName(misspelling.meant)) + (digits.empty() ? "N" : digits) + "?";
            break;
        }
    }
    return key;
}
