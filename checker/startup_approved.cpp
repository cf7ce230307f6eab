#include "startup_approved.h"

#include <vector>

#include "program_image.h"
#include "text.h"

const char kRunSubkey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kStartupFolderList[] = "StartupFolder";

const RunKey kRunKeys[kRunKeyCount] = {
    {OsRegistryRoot::CurrentUser, OsRegistryView::Bits64, "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
     "Run"},
    {OsRegistryRoot::LocalMachine, OsRegistryView::Bits64, "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
     "Run"},
    {OsRegistryRoot::LocalMachine, OsRegistryView::Bits32,
     "HKLM\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", "Run32"},
};

std::vector<RunKey> RunKeysOfThisWindows() {
    const bool twoViews = OsHasTwoRegistryViews();
    std::vector<RunKey> keys;
    for (const RunKey& key : kRunKeys) {
        if (key.view == OsRegistryView::Bits64 || twoViews) keys.push_back(key);
    }
    return keys;
}

std::string StartupApprovedSubkey(const std::string& list) {
    return "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\" + list;
}

bool SwitchedOff(OsRegistryRoot root, const std::string& list, const std::string& name, bool* readWhole) {
    for (OsRegistryView view : {OsRegistryView::Bits64, OsRegistryView::Bits32}) {
        std::vector<OsRegistryValue> values;
        const OsRegistryRead read = OsReadRegistryValues(root, StartupApprovedSubkey(list).c_str(), view, &values);
        if (read == OsRegistryRead::Missing) continue;
        if (read == OsRegistryRead::Unreadable) *readWhole = false;
        for (const OsRegistryValue& value : values) {
            if (LowerCase(value.name) == LowerCase(name) && !value.data.empty()) return (value.data[0] & 1) != 0;
        }
    }
    return false;
}
