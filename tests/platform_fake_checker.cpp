// The double's part for the wrappers only the settings checker uses: shell
// links and Startup folders, the registry, program images, file identity
// and the console.
#include <cctype>

#include "code_page.h"
#include "elevation_token.h"
#include "environment.h"
#include "file_system.h"
#include "file_writing.h"
#include "path_rules.h"
#include "platform_fake.h"
#include "program_image.h"
#include "standard_output.h"

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

std::string FakeRegistryKey(OsRegistryRoot root, OsRegistryView view, const std::string& subkey) {
    return std::string(root == OsRegistryRoot::CurrentUser ? "HKCU" : "HKLM") + "|" +
           (view == OsRegistryView::Bits64 ? "64" : "32") + "|" + Lower(subkey);
}

OsShellLinkRead OsReadShellLink(const char* path, OsShellLink* link) {
    Fake.calls.push_back(std::string("ReadShellLink ") + path);
    const auto found = Fake.shellLinks.find(path);
    if (found == Fake.shellLinks.end()) return Fake.shellLinkFailure;
    *link = found->second;
    return found->second.target.empty() ? OsShellLinkRead::NoPath : OsShellLinkRead::Read;
}

std::string OsGetStartupFolder(OsStartupFolder which) {
    return which == OsStartupFolder::User ? Fake.userStartup : Fake.commonStartup;
}

OsRegistryRead OsReadRegistryValues(OsRegistryRoot root, const char* subkey, OsRegistryView view,
                                    std::vector<OsRegistryValue>* values) {
    const std::string key = FakeRegistryKey(root, view, subkey);
    const auto found = Fake.registry.find(key);
    if (found == Fake.registry.end()) {
        values->clear();
        return OsRegistryRead::Missing;
    }
    *values = found->second;
    return Fake.unreadableKeys.count(key) != 0 ? OsRegistryRead::Unreadable : OsRegistryRead::Read;
}

std::string OsReadManifest(const char* path) {
    const auto found = Fake.manifests.find(path);
    return found == Fake.manifests.end() ? std::string() : found->second;
}

bool OsRunsUnderWow64() {
    return Fake.wow64;
}

std::vector<std::pair<std::string, std::string>> OsEnvironmentVariables() {
    return std::vector<std::pair<std::string, std::string>>(Fake.environment.begin(), Fake.environment.end());
}

void OsSetEnvironmentVariable(const char* name, const char* value) {
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (value == nullptr) {
        Fake.environment.erase(upper);
    } else {
        Fake.environment[upper] = value;
    }
}

bool OsRunsElevated() {
    return Fake.elevated;
}

uint16_t OsNativeMachine() {
    return Fake.nativeMachine;
}

bool OsHasTwoRegistryViews() {
    return Fake.twoRegistryViews;
}

uint32_t OsAnsiCodePage() {
    return Fake.ansiCodePage;
}

bool OsListFiles(const char* folder, std::vector<std::string>* names) {
    names->clear();
    const std::string prefix = Lower(folder) + "\\";
    bool any = Fake.files.count(folder) != 0;
    for (const auto& file : Fake.files) {
        const std::string lower = Lower(file.first);
        if (lower.rfind(prefix, 0) != 0) continue;
        any = true;
        const std::string rest = file.first.substr(prefix.size());
        if (rest.find('\\') == std::string::npos && !file.second.folder) names->push_back(rest);
    }
    return any && Fake.unlistableFolders.count(folder) == 0;
}

std::string OsFinalPath(const char* path) {
    const auto alias = Fake.sameFiles.find(path);
    if (alias != Fake.sameFiles.end()) return alias->second;
    return Fake.files.count(path) != 0 ? std::string(path) : std::string();
}

bool OsConsoleIsItsOwn() {
    return Fake.consoleIsItsOwn;
}

void OsWaitForKey() {
    ++Fake.keysWaitedFor;
}

uint32_t OsWriteRegistryBinary(OsRegistryRoot root, const char* subkey, OsRegistryView view, const char* name,
                               const std::string& data) {
    Fake.calls.push_back(std::string("WriteRegistry ") + subkey + " " + name);
    if (root == OsRegistryRoot::LocalMachine && !Fake.elevated) return 5;  // ERROR_ACCESS_DENIED
    std::vector<OsRegistryValue>& values = Fake.registry[FakeRegistryKey(root, view, subkey)];
    for (OsRegistryValue& value : values) {
        if (Lower(value.name) == Lower(name)) {
            value.type = kRegistryBinary;
            value.data = data;
            return 0;
        }
    }
    values.push_back(OsRegistryValue{name, kRegistryBinary, data});
    return 0;
}

uint32_t OsWriteNewFile(const char* path, const char* data, uint32_t size) {
    Fake.calls.push_back(std::string("WriteNewFile ") + path);
    for (const auto& change : Fake.changedWhileWriting) Fake.files[change.first].start = change.second;
    if (Fake.files.count(path) != 0) return 80;  // ERROR_FILE_EXISTS
    const auto folder = Fake.files.find(FolderOf(path));
    if (folder == Fake.files.end() || !folder->second.folder) return 3;
    if (Fake.diskFullAfter >= 0 && size > Fake.diskFullAfter) return 112;  // ERROR_DISK_FULL, the part deleted again
    Fake.files[path].start.assign(data, size);
    return 0;
}

uint32_t OsReplaceFile(const char* target, const char* replacement, const char* backup) {
    Fake.calls.push_back(std::string("ReplaceFile ") + target);
    if (Fake.files.count(target) == 0 || Fake.files.count(replacement) == 0) return 2;
    if (Fake.readOnlyFiles.count(target) != 0) return 5;
    Fake.files[backup] = Fake.files[target];
    Fake.files[target] = Fake.files[replacement];
    Fake.files.erase(replacement);
    return 0;
}

uint32_t OsMoveFileNew(const char* from, const char* to) {
    Fake.calls.push_back(std::string("MoveFileNew ") + from + " " + to);
    if (Fake.files.count(from) == 0) return 2;
    if (Fake.files.count(to) != 0) return 183;
    Fake.files[to] = Fake.files[from];
    Fake.files.erase(from);
    return 0;
}

void OsDeleteFile(const char* path) {
    Fake.calls.push_back(std::string("DeleteFile ") + path);
    Fake.files.erase(path);
}

uint64_t OsFileTimeNow() {
    return 0x01DB4A0000000000ull;  // some moment of 2024
}
