#include "help.h"

#include "platform.h"
#include "version.h"

std::string HelpText() {
    static const char* const kLines[] = {
        ("The Postpone project, " POSTPONE_HOME_PAGE),
        "",
        "Runs a program some time later.",
        "",
        "USAGE:",
        "Postpone.exe [/? | /h]]",
        "/? | /h   Display this help.",
        "",
        "NOTE:",
        "It reads the programs list from the POSTPONE.INI file.",
    };
    std::string text = kLines[0];
    for (size_t i = 1; i < sizeof kLines / sizeof kLines[0]; ++i) {
        text += "\r\n";
        text += kLines[i];
    }
    return text;
}

std::string HelpTitle() {
    return std::string("Postpone version ") + POSTPONE_VERSION_TEXT;
}

void ShowHelp() {
    const std::string text = HelpText();
    const std::string title = HelpTitle();
    OsSleep(5);
    OsMessageBox(text.c_str(), title.c_str(), kHelpBoxStyle);
}
