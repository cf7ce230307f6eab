#include "settings_location.h"

#include <vector>

#include "globals.h"
#include "text.h"

namespace {

constexpr uint32_t kPathBufferSize = 260;  // MAX_PATH
constexpr uint32_t kLongestPath = 32768;

}  // namespace

// The platform fills the buffer up to its size when the name is longer, so a
// full buffer is tried again larger.
std::string ModuleFileName(OsHandle module) {
    for (uint32_t size = kPathBufferSize;; size *= 2) {
        std::vector<char> buffer(size + 1, '\0');
        const uint32_t length = OsGetModuleFileName(module, buffer.data(), size);
        if (length < size || size >= kLongestPath) return std::string(buffer.data(), length < size ? length : size);
    }
}

std::string SettingsPathFor(const std::string& exePath) {
    static const std::string kExe = ".exe";
    std::string path = LowerCase(exePath);
    if (path.size() >= kExe.size() && path.compare(path.size() - kExe.size(), kExe.size(), kExe) == 0) {
        path.replace(path.size() - kExe.size(), kExe.size(), ".ini");
    }
    return path;
}

bool PathExists(std::string path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    const OsHandle search = OsFindFirstFile(path.c_str());
    if (search == kInvalidSearchHandle) return false;
    OsFindClose(search);
    return true;
}

bool LocateSettings(OsHandle module) {
    const std::string name = ModuleFileName(module);
    if (name.empty()) return false;
    ExePath = UpToNul(name);
    SettingsPath = SettingsPathFor(ExePath);
    return PathExists(SettingsPath);
}
