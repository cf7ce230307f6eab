#include "settings_file_check.h"

#include <vector>

#include "file_system.h"
#include "key_names.h"
#include "launch_list.h"
#include "encoding_check.h"
#include "paths.h"
#include "text.h"

namespace {

constexpr size_t kSectionsListed = 10;

// The file's first line, as far as the byte-order-mark rule needs it.
std::string FileStart(const std::string& path, bool* readable) {
    std::string start(64, '\0');
    const int32_t read = OsReadFileStart(path.c_str(), &start[0], static_cast<uint32_t>(start.size()));
    *readable = read >= 0;
    start.resize(read > 0 ? static_cast<size_t>(read) : 0);
    return start;
}

// Explorer hides known extensions, so a file saved from Notepad as
// postpone.ini shows as "postpone.ini" while it is postpone.ini.txt (or
// postpone.ini.ini, typed as a new name; or postpone.txt).
void ReportNearNames(const std::string& settingsPath, Report* report) {
    const std::string name = LowerCase(FileNameOf(settingsPath));
    const std::string stem = name.size() > 4 ? name.substr(0, name.size() - 4) : name;
    std::vector<std::string> files;
    if (!OsListFiles(FolderOf(settingsPath).c_str(), &files)) return;
    for (const std::string& file : files) {
        const std::string lower = LowerCase(file);
        if (lower == name || (lower.rfind(name + ".", 0) != 0 && lower.rfind(stem + ".", 0) != 0)) continue;
        if (HasExtension(lower, ".exe")) continue;
        AddLine(report, "note: " + Printable(FolderOf(settingsPath) + "\\" + file) + " is there: rename it to " +
                            FileNameOf(settingsPath) + " (Explorer hides the extension of known file types: View, Show, "
                            "File name extensions shows it; or in a console, ren \"" + Printable(file) + "\" " +
                            FileNameOf(settingsPath) + ")");
    }
}

void ReportMissingFile(const CheckTarget& target, Report* report) {
    AddError(report, "no settings file: " + target.settingsPath + " does not exist");
    AddLine(report, "note: the settings file has the executable's name with .ini for .exe: " + FileNameOf(target.exePath) +
                        " reads " + FileNameOf(target.settingsPath));
    // A download renamed "Postpone (1).exe" looks for "postpone (1).ini".
    const std::string usual = FolderOf(target.settingsPath) + "\\postpone.ini";
    if (LowerCase(usual) != LowerCase(target.settingsPath) && Exists(usual)) {
        AddLine(report, "note: " + usual + " is there: rename the executable to Postpone.exe, or the settings file to " +
                            FileNameOf(target.settingsPath));
    }
    ReportNearNames(target.settingsPath, report);
}

}  // namespace

bool CheckSettingsFile(const CheckTarget& target, Report* report) {
    AddLine(report, "settings file: " + target.settingsPath);
    AddLine(report, "executable: " + target.exePath);
    if (!Exists(target.exePath)) {
        AddWarning(report, "there is no " + target.exePath + ": no Postpone reads this settings file until it lies there "
                           "under that name");
    }

    const uint32_t attributes = OsGetFileAttributes(target.settingsPath.c_str());
    if (attributes == kNoFileAttributes) {
        ReportMissingFile(target, report);
        return false;
    }
    if ((attributes & kFolderAttribute) != 0) {
        AddError(report, target.settingsPath + " is a folder, not a settings file");
        return false;
    }
    bool readable = false;
    const bool byteOrderMark = ByteOrderMarkHidesSection(FileStart(target.settingsPath, &readable));
    if (!readable) {
        AddError(report, target.settingsPath + " cannot be read");
        return false;
    }

    const std::vector<std::string> sections = ReadSectionNames();
    if (byteOrderMark) {
        AddWarning(report, "the settings file starts with a UTF-8 byte-order mark: Windows' settings reader then misses "
                           "its first section" + (sections.empty() ? "" : " ([" + Printable(sections[0]) + "])") +
                           ", so that on Windows nothing in it starts; save it as ANSI or UTF-16 (Unicode), or start it with a "
                           "comment line");
    }
    for (const std::string& section : sections) {
        if (LowerCase(section) != LowerCase(kLaunchSection)) continue;
        CheckEncoding(report);
        return true;
    }
    std::string listed;
    for (size_t i = 0; i < sections.size() && i < kSectionsListed; ++i) {
        listed += (i == 0 ? " [" : ", [") + Printable(sections[i]) + "]";
    }
    if (sections.size() > kSectionsListed) listed += " and " + std::to_string(sections.size() - kSectionsListed) + " more";
    AddError(report, "there is no [Launch] section: " +
                         (sections.empty() ? std::string("the file has no sections") : "its sections are" + listed));
    return false;
}
