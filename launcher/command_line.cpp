#include "command_line.h"

#include <algorithm>
#include <vector>

#include "globals.h"
#include "help.h"
#include "number.h"
#include "text.h"

namespace {

constexpr char kBlank = ' ';
constexpr char kQuote = '"';

size_t SkipBlanks(const std::string& text, size_t i) {
    while (i < text.size() && text[i] == kBlank) ++i;
    return i;
}

bool IsValueSwitch(const std::string& key) {
    return key == "/P:" || key == "/C:" || key == "/W:" || key == "/F:" || key == "/L:";
}

}  // namespace

std::string RemoveProgramName(const std::string& commandLine) {
    const std::string& line = commandLine;
    if (line.empty()) return std::string();

    if (line[0] == kQuote) {
        const size_t closing = line.find(kQuote, 1);
        if (closing == std::string::npos) return std::string();
        return line.substr(SkipBlanks(line, closing + 1));
    }
    if (line[0] == kBlank) return line.substr(SkipBlanks(line, 0));

    // The first character belongs to the name whatever it is; after it the
    // name runs over every character above code 32.
    size_t i = 1;
    while (i < line.size() && static_cast<unsigned char>(line[i]) > 32) ++i;
    if (i < line.size() && line[i] == kBlank) i = SkipBlanks(line, i);
    return line.substr(i);
}

bool NextParameter(const std::string& tail, size_t* position, Parameter* parameter) {
    size_t i = SkipBlanks(tail, *position);
    // Two double quotes not followed by a third are an empty parameter: it is
    // skipped, and the next one may start right after it.
    while (i + 1 < tail.size() && tail[i] == kQuote && tail[i + 1] == kQuote &&
           (i + 2 >= tail.size() || tail[i + 2] != kQuote)) {
        i = SkipBlanks(tail, i + 2);
    }
    if (i >= tail.size()) {
        *position = i;
        return false;
    }

    if (tail[i] != kQuote) {
        const size_t end = std::min(tail.find(kBlank, i), tail.size());
        *parameter = Parameter{tail.substr(i, end - i), i, end, false};
        *position = end;
        return true;
    }

    // A quoted parameter runs to the next double quote that is not doubled,
    // or to the end of the text; "" inside it stands for one double quote.
    std::string text;
    size_t j = i + 1;
    for (;;) {
        const size_t quote = std::min(tail.find(kQuote, j), tail.size());
        text.append(tail, j, quote - j);
        j = quote;
        if (j + 1 >= tail.size() || tail[j + 1] != kQuote) break;
        text += kQuote;
        j += 2;
    }
    *parameter = Parameter{text, i + 1, j, true};
    *position = j < tail.size() ? j + 1 : j;  // past the closing quote
    return true;
}

std::string ParameterAt(int n) {
    if (n <= 0) return CommandTail;
    size_t position = 0;
    Parameter parameter;
    for (int i = 1; NextParameter(CommandTail, &position, &parameter); ++i) {
        if (i == n) return parameter.text;
    }
    return std::string();
}

bool IsSwitch(const std::string& parameter) {
    return !parameter.empty() && parameter[0] == '/';
}

std::string SwitchKey(const std::string& parameter) {
    std::string key = UpperCase(parameter.substr(0, 3));
    while (!key.empty() && key.back() == kBlank) key.pop_back();
    return key;
}

bool AsksForHelp(const std::string& tail) {
    // Mark the characters that carry the value of a /P:, /C:, /W:, /F: or /L:
    // parameter: a path or argument holding /h (/hidden, /home) is not a
    // request.
    std::vector<bool> inValue(tail.size(), false);
    size_t position = 0;
    Parameter parameter;
    while (NextParameter(tail, &position, &parameter)) {
        if (!IsSwitch(parameter.text) || !IsValueSwitch(SwitchKey(parameter.text))) continue;
        for (size_t k = parameter.rawStart + 3; k < parameter.rawEnd; ++k) inValue[k] = true;
    }

    const std::string upper = UpperCase(tail);
    for (size_t i = 0; i + 1 < upper.size(); ++i) {
        if (upper[i] != '/' || (upper[i + 1] != 'H' && upper[i + 1] != '?')) continue;
        const bool masked = i + 1 < inValue.size() && inValue[i] && inValue[i + 1];
        if (!masked) return true;
    }
    return false;
}

void ReadSwitches(const std::string& tail, const Switches& switches) {
    size_t position = 0;
    Parameter parameter;
    while (NextParameter(tail, &position, &parameter)) {
        const std::string& p = parameter.text;
        if (p.empty()) break;
        if (!IsSwitch(p)) continue;  // plain words are ignored
        const std::string key = SwitchKey(p);
        const std::string value = p.size() > 3 ? p.substr(3) : std::string();
        if (key == "/E") {
            *switches.execute = true;
        } else if (key == "/P:") {
            *switches.program = value;
        } else if (key == "/C:") {
            *switches.arguments = value;
        } else if (key == "/D:") {
            *switches.delay = ReadNumber(value);
        } else if (key == "/S:") {
            *switches.style = ReadNumber(value);
        } else if (key == "/T:") {
            *switches.stamp = ReadNumber(value);
        } else if (key == "/W:") {
            *switches.startIn = value;
        } else if (key == "/F:") {
            *switches.waitFor = value;
        } else if (key == "/M:") {
            *switches.waitSec = ReadNumber(value);
        } else if (key == "/L:") {
            *switches.logFile = value;
        } else if (key == "/N:") {
            *switches.number = ReadNumber(value);
        } else if (key == "/R:") {
            *switches.runTag = value;
        } else if (key == "/I:") {
            *switches.waitIdle = ReadNumber(value);
        }
    }
}

bool ParseCommandLine() {
    if (AsksForHelp(CommandTail)) {
        ShowHelp();
        return false;
    }
    ReadSwitches(CommandTail, Switches{&ExecuteMode, &Table.Program[0], &Table.CmdLine[0], &Table.DelaySec[0],
                                       &Table.WndStyle[0], &StartStamp, &Table.StartIn[0], &Table.WaitFor[0],
                                       &Table.WaitSec[0], &LogFile, &Table.Number[0], &RunTag,
                                       &Table.WaitIdle[0]});
    return true;
}
