// The checker's tests' fixture: a machine with Postpone in C:\Tools started
// by a Startup shortcut, its settings file, and helpers to fill and check it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "check_main.h"
#include "launcher_test.h"

inline const std::string kChecker = "C:\\Tools\\postpone-check.exe";
inline const std::string kExe = "C:\\Tools\\Postpone.exe";
inline const std::string kSettings = "c:\\tools\\postpone.ini";
inline const std::string kProgram = "C:\\Apps\\a.exe";
inline const std::string kShortcut = "C:\\Users\\me\\Start Menu\\Programs\\Startup\\Postpone.lnk";

using Keys = std::vector<std::pair<std::string, std::string>>;

// The first bytes of a PE image: "MZ", the header's offset at 0x3C, "PE\0\0",
// the machine and the characteristics (0x2000: a DLL).
inline std::string PeImage(uint16_t machine = 0x14C, uint16_t characteristics = 0x0102) {
    std::string image(0x80 + 24, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    image[0x3C] = '\x80';
    image.replace(0x80, 4, std::string("PE\0\0", 4));
    image[0x84] = static_cast<char>(machine & 0xFF);
    image[0x85] = static_cast<char>(machine >> 8);
    image[0x96] = static_cast<char>(characteristics & 0xFF);
    image[0x97] = static_cast<char>(characteristics >> 8);
    return image;
}

class CheckerTest : public LauncherTest {
protected:
    void SetUp() override {
        LauncherTest::SetUp();
        Fake.files[kExe].start = PeImage();
        Fake.files[kProgram].start = PeImage();
        Fake.files["C:\\Apps"].folder = true;
        Fake.environment["SYSTEMROOT"] = "C:\\Windows";
        Fake.files["C:\\Windows\\system32\\notepad.exe"].start = PeImage(0x8664);
        // Started at logon as the README says: a Startup shortcut whose Start
        // in is Postpone's folder.
        Fake.files[kShortcut];
        Fake.shellLinks[kShortcut] = OsShellLink{kExe, "", "C:\\Tools"};
    }
    // Checks `tail`; returns the exit code, the report in `text`.
    int32_t Check(const std::string& tail = "") {
        Report report;
        const int32_t code = CheckMain(tail, kChecker, &report);
        text = report.text;
        return code;
    }
    bool Has(const std::string& line) const { return text.find(line + "\r\n") != std::string::npos; }
    bool HasPart(const std::string& part) const { return text.find(part) != std::string::npos; }
    static void Set(const Keys& keys) {
        for (const auto& key : keys) SetProfileValue(kSettings, key.first, key.second);
    }
    std::string text;
};

// A complete entry 1 with its program present and its show state set.
inline Keys Complete() {
    return {{"Program1", kProgram}, {"CmdLine1", "-x"}, {"DelaySec1", "30"}, {"WndStyle1", "1"}};
}

inline Keys With(Keys keys, const std::string& key, const std::string& value) {
    for (auto& k : keys) {
        if (k.first == key) {
            k.second = value;
            return keys;
        }
    }
    keys.push_back({key, value});
    return keys;
}

inline Keys Without(Keys keys, const std::string& key) {
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].first == key) keys.erase(keys.begin() + static_cast<long>(i));
    }
    return keys;
}

