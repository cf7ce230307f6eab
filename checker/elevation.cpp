#include "elevation.h"

#include <vector>

#include "error_words.h"
#include "file_system.h"
#include "program_image.h"
#include "paths.h"
#include "registry.h"
#include "text.h"

namespace {

const char kLayers[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";
const char kWayOut[] = ": start it from the Task Scheduler instead, at logon, with \"Run with highest privileges\"";

// The value of attribute `name` in the element that starts at `from`.
std::string AttributeValue(const std::string& text, size_t from, const std::string& name) {
    const size_t end = text.find('>', from);
    for (size_t at = text.find(name, from); at != std::string::npos && at < end; at = text.find(name, at + 1)) {
        size_t i = at + name.size();
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
        if (i >= text.size() || text[i] != '=') continue;
        ++i;
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
        if (i >= text.size() || (text[i] != '"' && text[i] != '\'')) continue;
        const size_t close = text.find(text[i], i + 1);
        if (close == std::string::npos) return std::string();
        return text.substr(i + 1, close - i - 1);
    }
    return std::string();
}

bool HasLayer(const std::string& layers, const std::string& layer) {
    // The data is a list of layer names separated by blanks ("~ RUNASADMIN
    // WIN8RTM", say).
    const std::string upper = UpperCase(layers);
    for (size_t at = upper.find(layer); at != std::string::npos; at = upper.find(layer, at + 1)) {
        const bool startsWord = at == 0 || upper[at - 1] == ' ';
        const bool endsWord = at + layer.size() == upper.size() || upper[at + layer.size()] == ' ';
        if (startsWord && endsWord) return true;
    }
    return false;
}

// A value of the Layers key names a program by its path as the Properties
// dialog wrote it: the same file may be spelt otherwise (short names, case,
// "..").
bool NamesProgram(const std::string& name, const std::string& path) {
    if (LowerCase(name) == LowerCase(path)) return true;
    return LowerCase(FileNameOf(name)) == LowerCase(FileNameOf(path)) && OsSameFile(name.c_str(), path.c_str());
}


// The value of attribute `name` of the first requestedExecutionLevel element
// that has it. The element may carry a namespace prefix
// (<ms_asmv2:requestedExecutionLevel>).
std::string ExecutionLevelAttribute(const std::string& manifest, const std::string& name) {
    for (size_t at = manifest.find("requestedExecutionLevel"); at != std::string::npos;
         at = manifest.find("requestedExecutionLevel", at + 1)) {
        if (at == 0 || (manifest[at - 1] != '<' && manifest[at - 1] != ':')) continue;
        const std::string value = AttributeValue(manifest, at, name);
        if (!value.empty()) return value;
    }
    return std::string();
}

}  // namespace

ExecutionLevel ExecutionLevelOf(const std::string& manifest) {
    const std::string level = ExecutionLevelAttribute(manifest, "level");
    if (level == "requireAdministrator") return ExecutionLevel::RequireAdministrator;
    if (level == "highestAvailable") return ExecutionLevel::HighestAvailable;
    if (level == "asInvoker") return ExecutionLevel::AsInvoker;
    return ExecutionLevel::Unstated;
}

bool AsksForUiAccess(const std::string& manifest) {
    return LowerCase(ExecutionLevelAttribute(manifest, "uiAccess")) == "true";
}

bool IsFlaggedByInstallerDetection(const std::string& path, bool is32Bit, ExecutionLevel level) {
    if (!is32Bit || level != ExecutionLevel::Unstated) return false;
    const std::string name = LowerCase(FileNameOf(path));
    for (const char* keyword : {"install", "setup", "update", "patch"}) {
        if (name.find(keyword) != std::string::npos) return true;
    }
    return false;
}

bool MarkedWithLayer(const std::string& path, const std::string& layer, bool* readWhole) {
    for (OsRegistryRoot root : {OsRegistryRoot::CurrentUser, OsRegistryRoot::LocalMachine}) {
        for (OsRegistryView view : {OsRegistryView::Bits64, OsRegistryView::Bits32}) {
            std::vector<OsRegistryValue> values;
            if (OsReadRegistryValues(root, kLayers, view, &values) == OsRegistryRead::Unreadable) *readWhole = false;
            for (const OsRegistryValue& value : values) {
                if (HasLayer(value.data, layer) && NamesProgram(value.name, path)) return true;
            }
        }
    }
    return false;
}

std::string WhyElevationStopsTheStart(const std::string& path, const FileFacts& facts, bool* certain) {
    *certain = false;
    if (facts.kind != FileKind::Program) return std::string();
    const std::string refused = ": Windows refuses to start it from Postpone, which runs with your ordinary rights "
                                "(" + WindowsError(740) + ")";
    *certain = true;
    bool layersRead = true;
    if (MarkedWithLayer(path, "RUNASADMIN", &layersRead)) {
        return path + " is marked \"Run this program as an administrator\" (its Properties, Compatibility)" + refused +
               kWayOut + ", or clear that mark";
    }
    const std::string manifest = OsReadManifest(path.c_str());
    const ExecutionLevel level = ExecutionLevelOf(manifest);
    if (level == ExecutionLevel::RequireAdministrator) {
        return path + " asks for administrator rights in its manifest (requireAdministrator)" + refused + kWayOut;
    }
    if (AsksForUiAccess(manifest)) {
        return path + " asks for UI access in its manifest (uiAccess=\"true\", for programs that drive other "
                      "programs' windows)" + refused + kWayOut;
    }
    if (level == ExecutionLevel::HighestAvailable || MarkedWithLayer(path, "RUNASHIGHEST", &layersRead)) {
        *certain = false;
        return path + " asks for the highest rights the user has (" +
               (level == ExecutionLevel::HighestAvailable ? "highestAvailable" : "RUNASHIGHEST, its compatibility layer") +
               "): when you log on with an "
                      "administrator account" + refused + kWayOut;
    }
    if (IsFlaggedByInstallerDetection(path, facts.is32Bit, level)) {
        return path + " is a 32-bit program without a requested execution level whose name looks like an "
                      "installer's: where installer detection is on (the default outside a domain)" + refused +
               "; rename it, or" + std::string(kWayOut).substr(1);
    }
    *certain = false;
    if (!layersRead) {
        return "the compatibility settings (AppCompatFlags\\Layers) could not all be read: whether " + path +
               " is marked \"Run this program as an administrator\" is not known";
    }
    return std::string();
}
