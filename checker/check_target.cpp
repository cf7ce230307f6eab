#include "check_target.h"

#include <vector>

#include "file_system.h"
#include "paths.h"
#include "settings_location.h"
#include "text.h"

namespace {

const char kExecutableName[] = "Postpone.exe";

}  // namespace

std::string FullPath(const std::string& path) {
    std::vector<char> buffer(1024, '\0');
    uint32_t length = OsGetFullPathName(path.c_str(), buffer.data(), static_cast<uint32_t>(buffer.size()));
    if (length >= buffer.size()) {
        buffer.assign(length + 1, '\0');
        length = OsGetFullPathName(path.c_str(), buffer.data(), static_cast<uint32_t>(buffer.size()));
    }
    if (length == 0 || length >= buffer.size()) return path;
    return std::string(buffer.data(), length);
}

bool ResolveTarget(const std::string& argument, const std::string& checkerPath, CheckTarget* target,
                   std::string* error) {
    if (argument.empty()) {
        target->exePath = FolderOf(checkerPath) + "\\" + kExecutableName;
        target->settingsPath = SettingsPathFor(target->exePath);
        return true;
    }

    std::string path = FullPath(argument);
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    const uint32_t attributes = OsGetFileAttributes(path.c_str());
    if (attributes == kNoFileAttributes) {
        *error = path + " does not exist";
        return false;
    }
    if ((attributes & kFolderAttribute) != 0) {
        const std::string exe = (path.back() == '\\' ? path : path + "\\") + kExecutableName;
        if (OsGetFileAttributes(exe.c_str()) == kNoFileAttributes) {
            *error = "there is no " + std::string(kExecutableName) + " in " + path +
                     " (an executable under another name can be named itself)";
            return false;
        }
        path = exe;
    }
    if (HasExtension(path, ".exe")) {
        target->exePath = path;
        target->settingsPath = SettingsPathFor(path);
        return true;
    }
    // A settings file: the executable that reads it has its name with ".exe".
    target->settingsPath = path;
    target->exePath = (HasExtension(path, ".ini") ? path.substr(0, path.size() - 4) : path) + ".exe";
    return true;
}
