#include "path_rules.h"

#include <algorithm>
#include <vector>

#include "text.h"

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

namespace {

// The root of a full path that "." and ".." never climb above: "C:" or
// "\\server\share".
std::string RootOf(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
    if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1])) return std::string();
    size_t end = path.find_first_of("\\/", 2);
    if (end != std::string::npos) end = path.find_first_of("\\/", end + 1);
    return path.substr(0, end);
}

}  // namespace

// "A disk designator with a backslash, for example "C:\"", or a UNC name
// ("\\server\share"): a full path, taken as it stands.
bool IsFullPath(const std::string& path) {
    return (path.size() >= 3 && path[1] == ':' && IsSeparator(path[2])) || path.rfind("\\\\", 0) == 0;
}

std::string FolderOf(const std::string& path) {
    const size_t last = path.find_last_of("\\/");
    return last == std::string::npos ? std::string() : path.substr(0, last);
}

namespace {

// `whole` below its `root`, its "." and ".." parts folded in (never above the
// root) and repeated separators taken as one.
std::string Folded(const std::string& root, const std::string& whole) {
    std::vector<std::string> parts;
    for (size_t start = root.size();;) {
        const size_t end = std::min(whole.find_first_of("\\/", start), whole.size());
        const std::string part = whole.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (part != "." && !part.empty()) {
            parts.push_back(part);
        }
        if (end == whole.size()) break;
        start = end + 1;
    }
    std::string joined = root;
    for (const std::string& part : parts) joined += "\\" + part;
    return joined;
}

}  // namespace

std::string ResolvedFrom(const std::string& folder, const std::string& path) {
    if (IsFullPath(path)) return path;
    const std::string root = RootOf(folder);
    return Folded(root, !path.empty() && IsSeparator(path[0]) ? root + path : folder + "\\" + path);
}

std::string NormalisedPath(const std::string& path) {
    std::string text;
    for (char c : path) text += IsSeparator(c) ? '\\' : c;
    const std::string root = RootOf(text);
    std::string folded = Folded(root, text);
    while (folded.size() > root.size() && (folded.back() == '.' || folded.back() == ' ')) folded.pop_back();
    return LowerCase(folded);
}
