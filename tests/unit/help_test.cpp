#include <string>
#include <vector>

#include "help.h"
#include "launcher_test.h"

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

TEST(HelpText, HasTenLinesJoinedByCrLfWithNoBreakAfterTheLast) {
    const std::string text = HelpText();
    const std::vector<std::string> lines = SplitLines(text);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_NE(lines[0].find("Postpone"), std::string::npos);
    EXPECT_NE(lines[0].find("https://"), std::string::npos);
    const std::vector<std::string> rest(lines.begin() + 1, lines.end());
    EXPECT_EQ(rest, (std::vector<std::string>{"", "Runs a program some time later.", "", "USAGE:",
                                              "Postpone.exe [/? | /h]]", "/? | /h   Display this help.", "",
                                              "NOTE:", "It reads the programs list from the POSTPONE.INI file."}));
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);  // no bare line feeds
    EXPECT_NE(text.substr(text.size() - 2), "\r\n");
}

TEST_F(LauncherTest, ShowHelpPausesThenShowsOneInformationBox) {
    ShowHelp();
    ASSERT_EQ(Fake.boxes.size(), 1u);
    EXPECT_EQ(Fake.boxes[0].title, "Postpone version 1.0.0.0");
    EXPECT_EQ(Fake.boxes[0].text, HelpText());
    EXPECT_EQ(Fake.boxes[0].style, 64u);  // MB_OK | MB_ICONINFORMATION
    ASSERT_EQ(Fake.calls.size(), 2u);
    EXPECT_EQ(Fake.calls[0], "Sleep 5");
    EXPECT_EQ(Fake.calls[1], "MessageBox Postpone version 1.0.0.0");
}

TEST_F(LauncherTest, TheHelpRequestsShowTheSameBoxAndDashesDoNot) {
    for (const std::string tail : {"/?", "/h", "/H", "-x /help"}) {
        EXPECT_EQ(RunProcessWith("p.exe " + tail), 0u) << tail;
    }
    ASSERT_EQ(Fake.boxes.size(), 4u);
    for (const FakeMessageBox& box : Fake.boxes) EXPECT_EQ(box.text, HelpText());
    Fake.boxes.clear();
    for (const std::string tail : {"-h", "-?"}) RunProcessWith("p.exe " + tail);
    EXPECT_TRUE(Fake.boxes.empty());
}

}  // namespace
