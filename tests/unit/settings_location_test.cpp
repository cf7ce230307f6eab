#include <algorithm>
#include <string>
#include <vector>

#include "launcher_test.h"
#include "settings_location.h"

namespace {

struct PathCase {
    std::string exePath;
    std::string settingsPath;
};

TEST_F(LauncherTest, TheSettingsPathIsTheLowerCasedExePathEndingInIni) {
    const std::vector<PathCase> cases = {
        {"C:\\Tools\\Postpone.exe", "c:\\tools\\postpone.ini"},
        {"C:\\Tools\\Launcher.EXE", "c:\\tools\\launcher.ini"},
        {"d:\\x.exe\\run.exe", "d:\\x.exe\\run.ini"},    // only the final extension changes
        {"d:\\x.exe\\run", "d:\\x.exe\\run"},            // no final .exe: unchanged
        {"Z:\\tmp\\A B\\p.Exe", "z:\\tmp\\a b\\p.ini"},
        {".exe", ".ini"},
        {"exe", "exe"},
    };
    for (const PathCase& c : cases) {
        EXPECT_EQ(SettingsPathFor(c.exePath), c.settingsPath) << c.exePath;
    }
}

TEST_F(LauncherTest, LocateSettingsKeepsTheExePathsCapitalsAndSearchesOnce) {
    Fake.moduleFileName = "C:\\Tools\\Launcher.EXE";
    Fake.existingPaths.insert("c:\\tools\\launcher.ini");
    EXPECT_TRUE(LocateSettings(nullptr));
    EXPECT_EQ(ExePath, "C:\\Tools\\Launcher.EXE");
    EXPECT_EQ(SettingsPath, "c:\\tools\\launcher.ini");
    EXPECT_EQ(Fake.openSearches, 0);  // the search handle was closed
    EXPECT_EQ(std::count(Fake.calls.begin(), Fake.calls.end(), "GetModuleFileName"), 1);  // it fitted
}

TEST_F(LauncherTest, AMissingSettingsFileStillSetsBothPaths) {
    Fake.moduleFileName = "C:\\Tools\\Postpone.exe";
    EXPECT_FALSE(LocateSettings(nullptr));
    EXPECT_EQ(ExePath, "C:\\Tools\\Postpone.exe");
    EXPECT_EQ(SettingsPath, "c:\\tools\\postpone.ini");
}

TEST_F(LauncherTest, AnUnreadableModuleNameLeavesBothPathsEmpty) {
    Fake.moduleFileName = "";
    EXPECT_FALSE(LocateSettings(nullptr));
    EXPECT_EQ(ExePath, "");
    EXPECT_EQ(SettingsPath, "");
    EXPECT_TRUE(Fake.searchedPaths.empty());
}

TEST_F(LauncherTest, AModuleNameLongerThanMaxPathIsReadWhole) {
    const std::string exe = "C:\\" + std::string(400, 'd') + "\\Postpone.exe";
    Fake.moduleFileName = exe;
    LocateSettings(nullptr);
    EXPECT_EQ(ExePath, exe);
}

TEST_F(LauncherTest, PathExistsDropsOneTrailingBackslash) {
    Fake.existingPaths.insert("C:\\Data");
    EXPECT_TRUE(PathExists("C:\\Data\\"));
    EXPECT_FALSE(PathExists("C:\\Data\\\\"));
    EXPECT_EQ(Fake.searchedPaths, (std::vector<std::string>{"C:\\Data", "C:\\Data\\"}));
    EXPECT_EQ(Fake.openSearches, 0);
}

}  // namespace
