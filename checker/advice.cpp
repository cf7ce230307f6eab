#include "advice.h"

#include "launch_list.h"

std::string WrittenValue(const std::string& value, bool arguments) {
    if (value.empty()) return arguments ? "\"\"\"\"" : value;
    const char first = value.front(), last = value.back();
    const bool strippedQuotes = value.size() >= 2 && first == last && (first == '"' || first == '\'');
    const bool trimmedBlanks = first == ' ' || first == '\t' || last == ' ' || last == '\t';
    return strippedQuotes || trimmedBlanks ? "\"" + value + "\"" : value;
}

std::string WriteEntry(int n, const std::string& program, const std::string& arguments, const std::string& folder) {
    std::string text = "write " + EntryKeyName(KeyStem::Program, n) + "=" + WrittenValue(program) + " and " +
                       EntryKeyName(KeyStem::CmdLine, n) + "=" + WrittenValue(arguments, true);
    if (!folder.empty()) text += ", and " + EntryKeyName(KeyStem::StartIn, n) + "=" + WrittenValue(folder);
    return text;
}
