#include <string>
#include <vector>

#include "launch_list.h"
#include "launcher_test.h"
#include "text.h"

namespace {

const std::string kSettings = "c:\\tools\\postpone.ini";

class LaunchListTest : public LauncherTest {
protected:
    void SetUp() override {
        LauncherTest::SetUp();
        SettingsPath = kSettings;
        Fake.existingPaths.insert(kSettings);
    }
    static void Set(const std::string& key, const std::string& value) { SetProfileValue(kSettings, key, value); }
    static void Entry(int n, const std::string& program, const std::string& arguments, const std::string& delay) {
        const std::string number = std::to_string(n);
        Set("Program" + number, program);
        Set("CmdLine" + number, arguments);
        Set("DelaySec" + number, delay);
    }
};

TEST_F(LaunchListTest, AcceptsCompleteEntriesInOrderAndSkipsGaps) {
    Entry(1, "a.exe", "1", "10");
    Entry(5, "b.exe", "2", "20");
    Entry(9, "c.exe", "3", "30");
    Set("WndStyle5", "3");
    LoadLaunchList();
    ASSERT_EQ(EntryCount, 3);
    EXPECT_EQ(Table.Program[1], "a.exe");
    EXPECT_EQ(Table.Program[2], "b.exe");
    EXPECT_EQ(Table.Program[3], "c.exe");
    EXPECT_EQ(Table.CmdLine[3], "3");
    EXPECT_EQ(Table.DelaySec[2], 20);
    EXPECT_EQ(Table.WndStyle[2], 3);
    EXPECT_EQ(Table.WndStyle[1], 0);
}

struct EntryCase {
    const char* what;
    std::vector<std::pair<std::string, std::string>> keys;
    bool accepted;
    std::string arguments;
    int32_t delay;
    int32_t style;
};

TEST_F(LaunchListTest, AppliesTheAcceptanceRules) {
    const std::vector<EntryCase> cases = {
        {"empty program", {{"Program2", ""}, {"CmdLine2", "x"}, {"DelaySec2", "1"}}, false, "", 0, 0},
        {"no arguments key", {{"Program2", "a.exe"}, {"DelaySec2", "1"}}, false, "", 0, 0},
        {"empty arguments", {{"Program2", "a.exe"}, {"CmdLine2", ""}, {"DelaySec2", "1"}}, false, "", 0, 0},
        {"two quotes: no arguments", {{"Program2", "a.exe"}, {"CmdLine2", "\"\""}, {"DelaySec2", "1"}}, true, "", 1, 0},
        {"three quotes", {{"Program2", "a.exe"}, {"CmdLine2", "\"\"\""}, {"DelaySec2", "1"}}, true, "\"\"\"", 1, 0},
        {"delay -1", {{"Program2", "a.exe"}, {"CmdLine2", "x"}, {"DelaySec2", "-1"}}, false, "", 0, 0},
        {"no delay", {{"Program2", "a.exe"}, {"CmdLine2", "x"}}, false, "", 0, 0},
        {"delay 0", {{"Program2", "a.exe"}, {"CmdLine2", "x"}, {"DelaySec2", "0"}}, true, "x", 0, 0},
        {"negative delay", {{"Program2", "a.exe"}, {"CmdLine2", "x"}, {"DelaySec2", "-5"}}, true, "x", -5, 0},
        {"style 6", {{"Program2", "a.exe"}, {"CmdLine2", "x"}, {"DelaySec2", "1"}, {"WndStyle2", "6"}}, true, "x", 1, 6},
        {"style 7", {{"Program2", "a.exe"}, {"CmdLine2", "x"}, {"DelaySec2", "1"}, {"WndStyle2", "7"}}, true, "x", 1, 0},
        {"style -3", {{"Program2", "a.exe"}, {"CmdLine2", "x"}, {"DelaySec2", "1"}, {"WndStyle2", "-3"}}, true, "x", 1, 0},
        {"sentinel program", {{"Program2", "NoNeNi"}, {"CmdLine2", "x"}, {"DelaySec2", "1"}}, false, "", 0, 0},
        {"sentinel arguments", {{"Program2", "a.exe"}, {"CmdLine2", "NoNeNi"}, {"DelaySec2", "1"}}, false, "", 0, 0},
        {"sentinel in other case", {{"Program2", "nonenI"}, {"CmdLine2", "x"}, {"DelaySec2", "1"}}, true, "x", 1, 0},
    };
    for (const EntryCase& c : cases) {
        ResetFake();
        ResetGlobals();
        SettingsPath = kSettings;
        for (const auto& key : c.keys) Set(key.first, key.second);
        LoadLaunchList();
        ASSERT_EQ(EntryCount, c.accepted ? 1 : 0) << c.what;
        if (!c.accepted) continue;
        EXPECT_EQ(Table.CmdLine[1], c.arguments) << c.what;
        EXPECT_EQ(Table.DelaySec[1], c.delay) << c.what;
        EXPECT_EQ(Table.WndStyle[1], c.style) << c.what;
    }
}

TEST_F(LaunchListTest, ReadsTheFolderOfAnAcceptedEntryLastAndExpandsIt) {
    Fake.environment["APPS"] = "D:\\Apps";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},  // empty: inherited, as when the key is absent
        {"NoNeNi", ""},
        {"%APPS%\\Sync", "D:\\Apps\\Sync"},
        {"C:\\My \"Work\"", "C:\\My \"Work\""},
    };
    for (const auto& c : cases) {
        ResetFake();
        ResetGlobals();
        SetUp();
        Fake.environment["APPS"] = "D:\\Apps";
        Entry(1, "a.exe", "x", "1");
        Set("StartIn1", c.first);
        Set("WndStyle1", "1");
        LoadLaunchList();
        ASSERT_EQ(EntryCount, 1) << c.first;
        EXPECT_EQ(Table.StartIn[1], c.second) << c.first;
        EXPECT_EQ(std::vector<std::string>(Fake.profileKeysRead.begin(), Fake.profileKeysRead.begin() + 5),
                  (std::vector<std::string>{"Program1", "CmdLine1", "DelaySec1", "WndStyle1", "StartIn1"}));
    }
}

struct WaitKeysCase {
    std::vector<std::pair<std::string, std::string>> keys;
    std::string waitFor;
    int32_t waitSec;
    std::vector<std::string> keysAfterStartIn;
    int32_t waitIdle = 0;
};

TEST_F(LaunchListTest, ReadsWaitSecOnlyForAnEntryThatWaitsForAPathOrAQuietMachine) {
    const std::vector<WaitKeysCase> cases = {
        {{}, "", 600, {"WaitFor1", "WaitIdle1"}},
        {{{"WaitSec1", "30"}}, "", 600, {"WaitFor1", "WaitIdle1"}},  // a wait without a path is not read
        {{{"WaitFor1", ""}, {"WaitSec1", "30"}}, "", 600, {"WaitFor1", "WaitIdle1"}},
        {{{"WaitFor1", "NoNeNi"}}, "", 600, {"WaitFor1", "WaitIdle1"}},
        {{{"WaitFor1", "%VAULT%\\Mail"}}, "V:\\Mail", 600, {"WaitFor1", "WaitIdle1", "WaitSec1"}},
        {{{"WaitFor1", "V:\\"}, {"WaitSec1", "45"}}, "V:\\", 45, {"WaitFor1", "WaitIdle1", "WaitSec1"}},
        {{{"WaitFor1", "V:\\"}, {"WaitSec1", "-1"}}, "V:\\", 0, {"WaitFor1", "WaitIdle1", "WaitSec1"}},  // unlike a delay's -1
        {{{"WaitFor1", "V:\\"}, {"WaitSec1", "-20"}}, "V:\\", 0, {"WaitFor1", "WaitIdle1", "WaitSec1"}},
        {{{"WaitFor1", "V:\\"}, {"WaitSec1", ""}}, "V:\\", 600, {"WaitFor1", "WaitIdle1", "WaitSec1"}},
        // A wait for a quiet machine: a percentage from 1 to 99, with the same WaitSec.
        {{{"WaitIdle1", "50"}}, "", 600, {"WaitFor1", "WaitIdle1", "WaitSec1"}, 50},
        {{{"WaitIdle1", "99"}, {"WaitSec1", "30"}}, "", 30, {"WaitFor1", "WaitIdle1", "WaitSec1"}, 99},
        {{{"WaitIdle1", "1"}, {"WaitFor1", "V:\\"}}, "V:\\", 600, {"WaitFor1", "WaitIdle1", "WaitSec1"}, 1},
        {{{"WaitIdle1", "100"}, {"WaitSec1", "30"}}, "", 600, {"WaitFor1", "WaitIdle1"}},
        {{{"WaitIdle1", "0"}, {"WaitSec1", "30"}}, "", 600, {"WaitFor1", "WaitIdle1"}},
        {{{"WaitIdle1", "idle"}}, "", 600, {"WaitFor1", "WaitIdle1"}},
    };
    for (const WaitKeysCase& c : cases) {
        ResetFake();
        ResetGlobals();
        SetUp();
        Fake.environment["VAULT"] = "V:";
        Entry(1, "a.exe", "x", "1");
        for (const auto& key : c.keys) Set(key.first, key.second);
        LoadLaunchList();
        ASSERT_EQ(EntryCount, 1);
        EXPECT_EQ(Table.WaitFor[1], c.waitFor) << c.waitFor;
        EXPECT_EQ(Table.WaitSec[1], c.waitSec) << c.waitFor;
        EXPECT_EQ(Table.WaitIdle[1], c.waitIdle) << c.waitFor;
        std::vector<std::string> read = Fake.profileKeysRead;
        read.resize(5 + c.keysAfterStartIn.size() + 1);
        EXPECT_EQ(std::vector<std::string>(read.begin() + 5, read.end() - 1), c.keysAfterStartIn) << c.waitFor;
        EXPECT_EQ(read.back(), "Program2") << c.waitFor;
    }
}

TEST_F(LaunchListTest, ReadsAKeyOnlyWhenTheEntryIsStillAlive) {
    Set("Program1", "a.exe");  // no CmdLine1: DelaySec1 and WndStyle1 are never read
    LoadLaunchList();
    const std::vector<std::string> firstReads(Fake.profileKeysRead.begin(), Fake.profileKeysRead.begin() + 3);
    EXPECT_EQ(firstReads, (std::vector<std::string>{"Program1", "CmdLine1", "Program2"}));
    EXPECT_EQ(Fake.profileKeysRead.size(), 101u);  // entry numbers above 100 are never read
    EXPECT_EQ(Fake.profileKeysRead.back(), "Program100");
}

TEST_F(LaunchListTest, ReadsLongValuesWhole) {
    const std::string program = "c:\\" + std::string(1000, 'p') + ".exe";
    const std::string arguments(5000, 'a');
    for (size_t length : {253u, 254u, 255u, 256u, 511u}) {
        ResetFake();
        ResetGlobals();
        SettingsPath = kSettings;
        Entry(1, std::string(length, 'q'), std::string(length, 'r'), "0");
        LoadLaunchList();
        ASSERT_EQ(EntryCount, 1);
        EXPECT_EQ(Table.Program[1].size(), length);
        EXPECT_EQ(Table.CmdLine[1].size(), length);
    }
    ResetGlobals();
    SettingsPath = kSettings;
    Entry(1, program, arguments, "0");
    LoadLaunchList();
    EXPECT_EQ(Table.Program[1], program);
    EXPECT_EQ(Table.CmdLine[1], arguments);

    // A quoted value that exactly fills the buffer may come back one short:
    // one short of full is read again too.
    ResetFake();
    ResetGlobals();
    SettingsPath = kSettings;
    Fake.profileLosesLastOfFullValue = true;
    Entry(1, std::string(255, 'q'), std::string(511, 'r'), "0");
    LoadLaunchList();
    EXPECT_EQ(Table.Program[1].size(), 255u);
    EXPECT_EQ(Table.CmdLine[1].size(), 511u);
}

TEST_F(LaunchListTest, AValueLongerThanAnyCommandIsReadCutAndTheOtherEntriesStillLoad) {
    Entry(1, "a.exe", std::string(100000, 'a'), "0");
    Entry(2, "b.exe", "x", "0");
    LoadLaunchList();
    ASSERT_EQ(EntryCount, 2);
    EXPECT_EQ(Table.CmdLine[1], std::string(65535, 'a'));  // cut, and far beyond what can start
    EXPECT_EQ(Table.CmdLine[2], "x");
    int reads = 0;
    for (const std::string& key : Fake.profileKeysRead) reads += key == "CmdLine1";
    EXPECT_EQ(reads, 9);  // 256 to 65536 bytes, and no further
}

TEST_F(LauncherTest, ExpandVariablesOffersOneByteMoreThanAskedForAnsiText) {
    // Windows may give ANSI text one character short in a buffer of exactly
    // the size it asked for.
    Fake.expansionNeedsSpareByte = true;
    Fake.environment["LONG"] = std::string(1000, 'L');
    Fake.environment["FILL"] = std::string(250, 'F');  // "c:\" + 250 + "\a.exe": 259 characters
    EXPECT_EQ(ExpandVariables("c:\\%LONG%\\a.exe"), "c:\\" + std::string(1000, 'L') + "\\a.exe");
    EXPECT_EQ(Fake.expansionSizes, (std::vector<uint32_t>{260, 1011}));
    Fake.expansionSizes.clear();
    EXPECT_EQ(ExpandVariables("c:\\%FILL%\\a.exe"), "c:\\" + std::string(250, 'F') + "\\a.exe");
    EXPECT_EQ(Fake.expansionSizes, (std::vector<uint32_t>{260, 261}));
}

TEST_F(LaunchListTest, ExpandsVariablesOnlyInProgramsThatHoldAPercentSign) {
    Fake.environment["SYSTEMROOT"] = "C:\\Windows";
    Entry(1, "%SystemRoot%\\notepad.exe", "%SystemRoot%", "1");
    Entry(2, "notepad.exe", "x", "1");
    LoadLaunchList();
    EXPECT_EQ(Table.Program[1], "C:\\Windows\\notepad.exe");
    EXPECT_EQ(Table.CmdLine[1], "%SystemRoot%");  // arguments are never expanded
    EXPECT_EQ(Table.Program[2], "notepad.exe");
    int expansions = 0;
    for (const std::string& call : Fake.calls) expansions += call.rfind("ExpandEnvironmentStrings", 0) == 0;
    EXPECT_EQ(expansions, 1);
}

TEST_F(LauncherTest, ExpandVariablesTrimsBlanksAndKeepsTheTextWhenExpansionFails) {
    Fake.environment["PAD"] = "  c:\\x.exe ";
    Fake.environment["LONG"] = std::string(1000, 'L');
    EXPECT_EQ(ExpandVariables(""), "");
    EXPECT_EQ(ExpandVariables("%PAD%"), "c:\\x.exe");
    EXPECT_EQ(ExpandVariables("%UNKNOWN%\\a.exe"), "%UNKNOWN%\\a.exe");
    EXPECT_EQ(ExpandVariables("c:\\%LONG%\\a.exe"), "c:\\" + std::string(1000, 'L') + "\\a.exe");  // whole
    EXPECT_EQ(Fake.expansionSizes.back(), 1011u);  // the 1010 bytes asked for, and one more
    EXPECT_EQ(UpperCase("abc"), "ABC");
    Fake.expansionFails = true;
    EXPECT_EQ(ExpandVariables(" %PAD% "), " %PAD% ");
}

}  // namespace
