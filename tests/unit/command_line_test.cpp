#include <vector>

#include "command_line.h"
#include "launcher_test.h"

namespace {

struct TailCase {
    std::string commandLine;
    std::string tail;
};

TEST(RemoveProgramName, TakesTheTailAfterTheExecutablesName) {
    const std::vector<TailCase> cases = {
        {"", ""},
        {"\"C:\\Program Files\\Postpone.exe\" /E /D:5", "/E /D:5"},
        {"\"C:\\x.exe\"b /X", "b /X"},            // a character right after the quote starts the tail
        {"\"C:\\x.exe\"", ""},
        {"\"C:\\x.exe", ""},                     // no closing quote: nothing is read past the end
        {"\"", ""},
        {"   /E", "/E"},                         // a leading blank: the name is empty
        {"C:\\x.exe   /E  /P:a", "/E  /P:a"},
        {"C:\\x.exe", ""},
        {"C:\\x.exe\t/E", "\t/E"},               // a tab ends the name and starts the tail
        {std::string("x\x80\xFF.exe /E"), "/E"},  // bytes 128 to 255 belong to the name
        {std::string(1, '\t') + "abc /E", "/E"},  // the first character belongs to the name whatever it is
        {"x.exe ", ""},
        {"x /E", "/E"},                          // a one-character name
    };
    for (const TailCase& c : cases) {
        EXPECT_EQ(RemoveProgramName(c.commandLine), c.tail) << "command line [" << c.commandLine << "]";
    }
}

std::vector<std::string> Parameters(const std::string& tail) {
    std::vector<std::string> found;
    size_t position = 0;
    Parameter parameter;
    while (NextParameter(tail, &position, &parameter)) found.push_back(parameter.text);
    return found;
}

struct SplitCase {
    std::string tail;
    std::vector<std::string> parameters;
};

TEST(NextParameter, SplitsTheTailIntoParameters) {
    const std::vector<SplitCase> cases = {
        {"/E /P:C:\\x.exe \"/C:-a -b\" /D:5", {"/E", "/P:C:\\x.exe", "/C:-a -b", "/D:5"}},
        {"", {}},
        {"    ", {}},
        {"a\tb c", {"a\tb", "c"}},                    // a tab is no separator
        {"\"\" /E", {"/E"}},                          // an empty quoted parameter does not count
        {"\"\"x", {"x"}},
        {"\"\"", {}},
        {"\"a b\"c", {"a b", "c"}},                   // the next parameter needs no blank
        {"\"open ended", {"open ended"}},             // no closing quote: to the end of the text
        {"a\"b c", {"a\"b", "c"}},                    // quotes inside a plain parameter are ordinary
        {"\"/C:say \"\"hi\"\"\" /D:1", {"/C:say \"hi\"", "/D:1"}},  // doubled quotes stand for one
        {"\"\"\"x\"", {"\"x"}},
        {"\"\"\"\"", {"\""}},
        {"\"\"\"", {"\""}},                         // three quotes: one parameter, a double quote
        {"\"a\"\"\"", {"a\""}},
        {"\"a\"\"", {"a\""}},                         // a doubled quote at the very end, then the end
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(Parameters(c.tail), c.parameters) << "tail [" << c.tail << "]";
    }
}

using ParameterAtTest = LauncherTest;

TEST_F(ParameterAtTest, CountsFromOneAndGivesTheWholeTailForZero) {
    CommandTail = "/E /P:C:\\x.exe \"/C:-a -b\" /D:5";
    EXPECT_EQ(ParameterAt(0), CommandTail);
    EXPECT_EQ(ParameterAt(1), "/E");
    EXPECT_EQ(ParameterAt(3), "/C:-a -b");
    EXPECT_EQ(ParameterAt(4), "/D:5");
    EXPECT_EQ(ParameterAt(5), "");
    EXPECT_TRUE(IsSwitch("/x"));
    EXPECT_FALSE(IsSwitch("-h"));
    EXPECT_FALSE(IsSwitch(""));
}

struct HelpCase {
    std::string tail;
    bool help;
};

TEST_F(LauncherTest, AsksForHelpOutsideProgramAndArgumentValues) {
    const std::vector<HelpCase> cases = {
        {"/?", true},
        {"/h", true},
        {"/H", true},
        {"-x /help", true},
        {"x/h", true},
        {"/E /P:x.exe /h", true},
        {"/E /H", true},
        {"-h", false},
        {"-?", false},
        {"", false},
        {"/E /P:x.exe \"/C:/hide\"", false},      // an argument holding /h starts its program
        {"/E /p:c:\\a/home\\x.exe /c:/?", false},  // keys in any case
        {"/E \"/P:c:\\a b/h\\x.exe\" \"/C:a \"\"/h\"\"\"", false},
        {"/E /D:/h", true},                        // only program and argument values are exempt
        {"/E /X:/h", true},
        {"/E \"/C:/h\" /h", true},
        {"/C:", false},
        {"/P:/", false},
        {"/C:/hide /E", false},                    // a /C: value as the first parameter
        {"/E \"/W:c:\\a b\\/home\" /w:/?", false},    // and a /W: folder
        {"/E \"/F:\\\\nas\\home/?\" /f:V:\\/h", false},  // and a /F: path to wait for
        {"/E /M:/h", true},
    };
    for (const HelpCase& c : cases) {
        EXPECT_EQ(AsksForHelp(c.tail), c.help) << "tail [" << c.tail << "]";
    }
}

TEST_F(LauncherTest, ParsesTheSwitchesIntoSlotZero) {
    CommandTail = "/e /p:Notepad.exe \"/c:a b\" /d:2.5 /s:1 /w:c:\\one \"/W:c:\\my \"\"x\"\"\" /t:100";
    ASSERT_TRUE(ParseCommandLine());
    EXPECT_TRUE(ExecuteMode);
    EXPECT_EQ(Table.Program[0], "Notepad.exe");
    EXPECT_EQ(Table.CmdLine[0], "a b");
    EXPECT_EQ(Table.DelaySec[0], 2);
    EXPECT_EQ(Table.WndStyle[0], 1);
    EXPECT_EQ(StartStamp, 100);
    EXPECT_EQ(Table.StartIn[0], "c:\\my \"x\"");  // the later /W: wins
    EXPECT_EQ(Table.WaitFor[0], "");
    EXPECT_EQ(Table.WaitSec[0], 600);  // the longest wait when /M: is not given
    EXPECT_TRUE(Fake.boxes.empty());
    CommandTail = "/E \"/f:V:\\my data\" /m:&H10";
    ASSERT_TRUE(ParseCommandLine());
    EXPECT_EQ(Table.WaitFor[0], "V:\\my data");
    EXPECT_EQ(Table.WaitSec[0], 16);
}

TEST_F(LauncherTest, HelpStopsParsing) {
    CommandTail = "/E /P:x.exe /H";
    EXPECT_FALSE(ParseCommandLine());
    EXPECT_EQ(Fake.boxes.size(), 1u);
    EXPECT_FALSE(ExecuteMode);
    EXPECT_EQ(Table.Program[0], "");
}

struct SwitchCase {
    std::string tail;
    bool executeMode;
    std::string program;
    int32_t delay;
};

TEST_F(LauncherTest, RecognisesSwitchKeysByTheirFirstThreeCharacters) {
    const std::vector<SwitchCase> cases = {
        {"x.exe /E", true, "", 0},               // plain words are ignored
        {"\"\" /E", true, "", 0},
        {"/E/P:x", false, "", 0},                // key /E/ matches nothing
        {"/Execute", false, "", 0},
        {"\"/E\tx\"", false, "", 0},             // /E and a tab: not /E
        {"\"/E more words\"", true, "", 0},       // /E, a blank and anything
        {"/P:", false, "", 0},
        {"/P:a /P:b /D:1 /D:7", false, "b", 7},  // later switches win
        {"/D:abc", false, "", 0},
        {"/D:&H10", false, "", 16},
        {"/D:1e2", false, "", 100},
        {"/X:5 /EX", false, "", 0},
    };
    for (const SwitchCase& c : cases) {
        ResetGlobals();
        CommandTail = c.tail;
        ASSERT_TRUE(ParseCommandLine()) << c.tail;
        EXPECT_EQ(ExecuteMode, c.executeMode) << c.tail;
        EXPECT_EQ(Table.Program[0], c.program) << c.tail;
        EXPECT_EQ(Table.DelaySec[0], c.delay) << c.tail;
    }
}

}  // namespace
