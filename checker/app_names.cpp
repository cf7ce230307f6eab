#include "app_names.h"

#include <vector>

#include "launch_list.h"
#include "paths.h"
#include "registry.h"
#include "text.h"

namespace {

const char kAppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

std::string Unquoted(const std::string& text) {
    return text.size() >= 2 && text.front() == '"' && text.back() == '"' ? text.substr(1, text.size() - 2) : text;
}

}  // namespace

std::string AppPathsHint(const std::string& name) {
    if (name.empty() || name.find_first_of("\\/:") != std::string::npos) return std::string();
    const std::string key = kAppPaths + WithExeExtension(name);
    const struct {
        OsRegistryRoot root;
        OsRegistryView view;
    } places[] = {{OsRegistryRoot::CurrentUser, OsRegistryView::Bits64},
                  {OsRegistryRoot::LocalMachine, OsRegistryView::Bits64},
                  {OsRegistryRoot::LocalMachine, OsRegistryView::Bits32}};
    for (const auto& place : places) {
        std::vector<OsRegistryValue> values;
        OsReadRegistryValues(place.root, key.c_str(), place.view, &values);
        for (const OsRegistryValue& value : values) {
            if (!value.name.empty() || (value.type != kRegistryText && value.type != kRegistryExpandedText)) continue;
            const std::string path = Unquoted(ExpandVariables(value.data));
            if (path.empty()) continue;
            return " (Win+R finds it through App Paths, which Windows' program search does not use: write its full "
                   "path, " + path + ")";
        }
    }
    return std::string();
}

bool IsAppExecutionAlias(const std::string& path) {
    const std::string folder = ExpandVariables("%LOCALAPPDATA%\\Microsoft\\WindowsApps");
    return folder.find('%') == std::string::npos && LowerCase(FolderOf(path)) == LowerCase(folder);
}

std::string AppExecutionAliasNote(const std::string& path) {
    const std::string name = LowerCase(FileNameOf(path));
    std::string note = path + " is an app execution alias: Windows starts the app it stands for";
    // The Store's own python.exe and python3.exe, there until Python is
    // installed from the Store, open the Store's page instead.
    if (name == "python.exe" || name == "python3.exe") {
        note += "; where Python is not installed from the Store, this alias opens the Store instead: write the full "
                "path of python.exe (or pythonw.exe, without a console window)";
    }
    return note;
}
