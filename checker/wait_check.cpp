#include "wait_check.h"

#include <algorithm>

#include "file_system.h"
#include "paths.h"
#include "text.h"
#include "wait_for_idle.h"

namespace {

// "\\server\share\..." but not the device and long-path forms "\\?\" and "\\.\".
std::string UncShareOf(const std::string& path) {
    if (path.size() < 5 || path[0] != '\\' || path[1] != '\\' || path[2] == '?' || path[2] == '.') return std::string();
    const size_t server = path.find('\\', 2);
    if (server == std::string::npos || server == 2) return std::string();
    const size_t share = path.find('\\', server + 1);  // the end of the share's name
    return share == server + 1 || server + 1 == path.size() ? std::string() : path.substr(0, share);
}

}  // namespace

std::string WaitText(const LaunchEntry& entry) {
    std::string text;
    if (!entry.WaitFor.empty()) {
        const std::string how = entry.WaitSec == 0 ? ", looks once for " : ", waits up to " + Dec(entry.WaitSec) + " s for ";
        const std::string now = !IsFullPath(entry.WaitFor) ? std::string()
                                : Exists(entry.WaitFor)    ? " (there now)"
                                                           : " (not there now)";
        text = how + entry.WaitFor + now;
    }
    if (entry.WaitIdle == 0) return text;
    // First the path, then the quiet machine, both within one WaitSec.
    return text + (entry.WaitFor.empty() ? ", then waits until" : ", then until") + " the processor is below " +
           Dec(entry.WaitIdle) + " % for " + Dec(kQuietWindowSeconds) + " s, " +
           (entry.WaitFor.empty() ? "at most " : "within the same ") + Dec(entry.WaitSec) + " s, then starts it anyway";
}

void CheckIdlePercent(int n, bool present, Report* report) {
    if (!present) return;
    const std::string key = EntryKeyName(KeyStem::WaitIdle, n);
    if (IdlePercentOf(ReadSettingsNumber(key)) != 0) return;
    const std::string text = ReadSettingsText(key);
    AddWarning(report, EntryPrefix(n) + key + (text.empty() ? " is empty" : "=" + Printable(text) + " is not a "
                       "percentage from 1 to 99") + ": Postpone does not wait for a quiet machine");
}

std::string NetworkShareOf(const std::string& path) {
    const std::string share = UncShareOf(path);
    if (!share.empty()) return share;
    if (path.size() < 2 || path[1] != ':') return std::string();
    const std::string root = path.substr(0, 2) + "\\";
    return OsIsNetworkDrive(root.c_str()) ? root : std::string();
}

void CheckWait(int n, const LaunchEntry& entry, const std::vector<WorkingFolder>& folders, Report* report) {
    if (entry.WaitFor.empty()) {
        // A share that Windows reconnects some time after the desktop shows.
        for (const KeyStem stem : {KeyStem::Program, KeyStem::StartIn}) {
            const std::string& path = stem == KeyStem::Program ? entry.Program : entry.StartIn;
            const std::string share = NetworkShareOf(path);
            if (share.empty()) continue;
            AddLine(report, Printable("note: " + EntryKeyPrefix(n, stem) + path + " is on the network share " + share +
                                      ", which may not be connected yet at logon: " +
                                      EntryKeyName(KeyStem::WaitFor, n) + "=" + share +
                                      " makes the copy wait for it after the delay"));
            return;
        }
        return;
    }
    if (IsFullPath(entry.WaitFor)) return;
    // The copy looks from its own working folder: Postpone's, whatever
    // StartIn says.
    std::vector<std::string> warnings;
    for (const WorkingFolder& folder : folders) {
        const std::string path = ResolvedFrom(folder.folder, entry.WaitFor);
        const std::string warning = EntryKeyPrefix(n, KeyStem::WaitFor) + entry.WaitFor +
                                    " is relative: the copy looks for it from Postpone's working folder, " +
                                    folder.folder + " (" + path + (Exists(path) ? ", there now" : ", not there now") +
                                    "); give the full path";
        if (std::find(warnings.begin(), warnings.end(), warning) == warnings.end()) warnings.push_back(warning);
    }
    for (const std::string& warning : warnings) AddWarning(report, Printable(warning));
}
