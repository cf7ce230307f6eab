#include "elevation.h"

#include <vector>

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

bool LayerAsksForAdministrator(const std::string& layers) {
    // The data is a list of layer names separated by blanks ("~ RUNASADMIN
    // WIN8RTM", say).
    const std::string upper = UpperCase(layers);
    for (size_t at = upper.find("RUNASADMIN"); at != std::string::npos; at = upper.find("RUNASADMIN", at + 1)) {
        const bool startsWord = at == 0 || upper[at - 1] == ' ';
        const bool endsWord = at + 10 == upper.size() || upper[at + 10] == ' ';
        if (startsWord && endsWord) return true;
    }
    return false;
}

}  // namespace

ExecutionLevel ExecutionLevelOf(const std::string& manifest) {
    // The element may carry a namespace prefix (<ms_asmv2:requestedExecutionLevel>).
    for (size_t at = manifest.find("requestedExecutionLevel"); at != std::string::npos;
         at = manifest.find("requestedExecutionLevel", at + 1)) {
        if (at == 0 || (manifest[at - 1] != '<' && manifest[at - 1] != ':')) continue;
        const std::string level = AttributeValue(manifest, at, "level");
        if (level == "requireAdministrator") return ExecutionLevel::RequireAdministrator;
        if (level == "highestAvailable") return ExecutionLevel::HighestAvailable;
        if (level == "asInvoker") return ExecutionLevel::AsInvoker;
    }
    return ExecutionLevel::Unstated;
}

bool AsksForUiAccess(const std::string& manifest) {
    for (size_t at = manifest.find("requestedExecutionLevel"); at != std::string::npos;
         at = manifest.find("requestedExecutionLevel", at + 1)) {
        if (at == 0 || (manifest[at - 1] != '<' && manifest[at - 1] != ':')) continue;
        if (LowerCase(AttributeValue(manifest, at, "uiAccess")) == "true") return true;
    }
    return false;
}

bool IsFlaggedByInstallerDetection(const std::string& path, bool is32Bit, ExecutionLevel level) {
    if (!is32Bit || level != ExecutionLevel::Unstated) return false;
    const std::string name = LowerCase(FileNameOf(path));
    for (const char* keyword : {"install", "setup", "update", "patch"}) {
        if (name.find(keyword) != std::string::npos) return true;
    }
    return false;
}

bool MarkedToRunAsAdministrator(const std::string& path) {
    const std::string lower = LowerCase(path);
    for (OsRegistryRoot root : {OsRegistryRoot::CurrentUser, OsRegistryRoot::LocalMachine}) {
        for (OsRegistryView view : {OsRegistryView::Bits64, OsRegistryView::Bits32}) {
            std::vector<OsRegistryValue> values;
            if (!OsReadRegistryValues(root, kLayers, view, &values)) continue;
            for (const OsRegistryValue& value : values) {
                if (LowerCase(value.name) == lower && LayerAsksForAdministrator(value.data)) return true;
            }
        }
    }
    return false;
}

std::string WhyElevationStopsTheStart(const std::string& path, const FileFacts& facts, bool* certain) {
    *certain = false;
    if (facts.kind != FileKind::Program) return std::string();
    const std::string refused = ": Windows refuses to start it from Postpone, which runs with your ordinary rights "
                                "(error 740, ERROR_ELEVATION_REQUIRED)";
    *certain = true;
    if (MarkedToRunAsAdministrator(path)) {
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
    if (level == ExecutionLevel::HighestAvailable) {
        *certain = false;
        return path + " asks for the highest rights the user has (highestAvailable): when you log on with an "
                      "administrator account" + refused + kWayOut;
    }
    if (IsFlaggedByInstallerDetection(path, facts.is32Bit, level)) {
        return path + " is a 32-bit program without a requested execution level whose name looks like an "
                      "installer's: where installer detection is on (the default outside a domain)" + refused +
               "; rename it, or" + std::string(kWayOut).substr(1);
    }
    *certain = false;
    return std::string();
}
