#include "platform_fake.h"

#include "code_page.h"
#include "path_rules.h"
#include "file_system.h"
#include "standard_output.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

FakePlatform Fake;

const OsHandle kInvalidSearchHandle = reinterpret_cast<OsHandle>(~uintptr_t{0});

namespace {

uintptr_t nextHandle = 0x100;
uint32_t nextProcessId = 1000;

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

const std::string* ProfileValue(const char* section, const char* key, const char* path) {
    Fake.profileKeysRead.push_back(key);
    const auto file = Fake.profiles.find(path);
    if (file == Fake.profiles.end()) return nullptr;
    for (const FakeProfileLine& line : file->second) {
        if (!line.key.empty() && Lower(line.section) == Lower(section) && Lower(line.key) == Lower(key)) {
            return &line.value;
        }
    }
    return nullptr;
}

// The names the reader lists for a missing key or section: each followed by
// a NUL, the list by one more.
std::string ProfileNames(const char* section, const char* path) {
    std::vector<std::string> names;
    const auto file = Fake.profiles.find(path);
    if (file != Fake.profiles.end()) {
        for (const FakeProfileLine& line : file->second) {
            const std::string name = section == nullptr ? line.section : line.key;
            if (section != nullptr && (line.key.empty() || Lower(line.section) != Lower(section))) continue;
            bool listed = false;
            for (const std::string& seen : names) listed = listed || Lower(seen) == Lower(name);
            if (!listed) names.push_back(name);
        }
    }
    std::string list;
    for (const std::string& name : names) list += name + '\0';
    return list;
}

std::map<uintptr_t, uint32_t> exitCodes;

}  // namespace

void ResetFake() {
    Fake = FakePlatform();
    Fake.files["C:\\"].folder = true;  // the system drive's root is always there
    // The system key as every Windows has it (a Wine prefix has no USERNAME
    // there): a logon's own user name must win over it.
    Fake.registry[FakeRegistryKey(OsRegistryRoot::LocalMachine, OsRegistryView::Bits64,
                                  "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment")] = {
        OsRegistryValue{"ComSpec", kRegistryExpandedText, "%SystemRoot%\\system32\\cmd.exe"},
        OsRegistryValue{"OS", kRegistryText, "Windows_NT"},
        OsRegistryValue{"Path", kRegistryExpandedText, "%SystemRoot%\\system32;%SystemRoot%"},
        OsRegistryValue{"PROCESSOR_ARCHITECTURE", kRegistryText, "AMD64"},
        OsRegistryValue{"TEMP", kRegistryExpandedText, "%SystemRoot%\\TEMP"},
        OsRegistryValue{"TMP", kRegistryExpandedText, "%SystemRoot%\\TEMP"},
        OsRegistryValue{"USERNAME", kRegistryText, "SYSTEM"},
        OsRegistryValue{"windir", kRegistryExpandedText, "%SystemRoot%"},
    };
    exitCodes.clear();
    nextProcessId = 1000;
}

void SetProfileValue(const std::string& path, const std::string& key, const std::string& value) {
    SetProfileValueIn(path, "Launch", key, value);
}

void SetProfileValueIn(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& value) {
    std::vector<FakeProfileLine>& lines = Fake.profiles[path];
    Fake.existingPaths.insert(path);
    Fake.files[path];
    for (FakeProfileLine& line : lines) {
        if (Lower(line.section) == Lower(section) && Lower(line.key) == Lower(key)) {
            line.value = value;
            return;
        }
    }
    lines.push_back(FakeProfileLine{section, key, value});
}

int64_t TimeOfDay(int hour, int minute, int second, int milliseconds) {
    return ((hour * 60 + minute) * 60 + second) * 1000LL + milliseconds;
}

const char* OsGetCommandLine() {
    Fake.calls.push_back("GetCommandLine");
    return Fake.commandLine.c_str();
}

uint32_t OsGetModuleFileName(OsHandle, char* buffer, uint32_t size) {
    Fake.calls.push_back("GetModuleFileName");
    const std::string& name = Fake.moduleFileName;
    if (name.size() >= size) {  // cut, as the platform does, and reported as full
        std::memcpy(buffer, name.data(), size - 1);
        buffer[size - 1] = '\0';
        return size;
    }
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    return static_cast<uint32_t>(name.size());
}

uint32_t OsGetPrivateProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                                   uint32_t size, const char* path) {
    if (section == nullptr || key == nullptr) {
        // A list of names; when it does not fit, the reader returns size - 2
        // with the list cut and ended by two NULs.
        Fake.calls.push_back(std::string("GetPrivateProfileString names of ") + (section ? section : "sections"));
        const std::string list = ProfileNames(section, path);
        if (size < 2) return 0;
        if (list.size() + 1 > size) {
            std::memcpy(buffer, list.data(), size - 2);
            buffer[size - 2] = '\0';
            buffer[size - 1] = '\0';
            return size - 2;
        }
        std::memcpy(buffer, list.data(), list.size());
        buffer[list.size()] = '\0';
        if (list.empty() && size > 1) buffer[1] = '\0';
        return static_cast<uint32_t>(list.size());
    }
    Fake.calls.push_back(std::string("GetPrivateProfileString ") + key);
    const std::string* value = ProfileValue(section, key, path);
    const std::string text = value != nullptr ? *value : fallback;
    size_t copied = text.size() < size - 1 ? text.size() : size - 1;
    if (Fake.profileLosesLastOfFullValue && value != nullptr && text.size() == size - 1) copied = size - 2;
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
    return static_cast<uint32_t>(copied);
}

std::string DeliveredValue(const std::string& written) {
    const size_t first = written.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    std::string value = written.substr(first, written.find_last_not_of(" \t") - first + 1);
    if (value.size() >= 2 && value.front() == value.back() && (value.front() == '"' || value.front() == '\'')) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

int32_t OsGetPrivateProfileInt(const char* section, const char* key, int32_t fallback, const char* path) {
    Fake.calls.push_back(std::string("GetPrivateProfileInt ") + key);
    const std::string* value = ProfileValue(section, key, path);
    if (value == nullptr || value->empty()) return fallback;
    return static_cast<int32_t>(std::strtoll(value->c_str(), nullptr, 10));
}

uint32_t OsExpandEnvironmentStrings(const char* source, char* buffer, uint32_t size) {
    Fake.calls.push_back(std::string("ExpandEnvironmentStrings ") + source);
    Fake.expansionSizes.push_back(size);
    if (Fake.expansionFails) return 0;
    std::string text = source;
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const size_t close = text[i] == '%' ? text.find('%', i + 1) : std::string::npos;
        if (close != std::string::npos) {
            const auto found = Fake.environment.find(Upper(text.substr(i + 1, close - i - 1)));
            if (found != Fake.environment.end()) {
                out += found->second;
                i = close + 1;
                continue;
            }
        }
        out += text[i++];
    }
    const uint32_t needed = static_cast<uint32_t>(out.size() + 1);
    if (needed > size) {  // a cut prefix, and the size that would be needed
        if (size > 0) {
            std::memcpy(buffer, out.data(), size - 1);
            buffer[size - 1] = '\0';
        }
        return needed;
    }
    std::memcpy(buffer, out.c_str(), needed);
    if (Fake.expansionNeedsSpareByte && needed == size && !out.empty()) buffer[out.size() - 1] = '\0';
    return needed;
}

OsHandle OsFindFirstFile(const char* path) {
    Fake.calls.push_back(std::string("FindFirstFile ") + path);
    Fake.searchedPaths.push_back(path);
    if (Fake.existingPaths.count(path) == 0) return kInvalidSearchHandle;
    ++Fake.openSearches;
    return reinterpret_cast<OsHandle>(nextHandle++);
}

void OsFindClose(OsHandle) {
    Fake.calls.push_back("FindClose");
    --Fake.openSearches;
}

void OsCharUpperBuff(char* text, uint32_t length) {
    for (uint32_t i = 0; i < length; ++i) text[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
}

void OsCharLowerBuff(char* text, uint32_t length) {
    for (uint32_t i = 0; i < length; ++i) text[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
}

uint32_t OsSetErrorMode(uint32_t mode) {
    Fake.calls.push_back("SetErrorMode " + std::to_string(mode));
    const uint32_t previous = Fake.errorMode;
    Fake.errorMode = mode;
    return previous;
}

void OsSetLastError(uint32_t code) {
    Fake.calls.push_back("SetLastError " + std::to_string(code));
    Fake.lastError = code;
}

uint32_t OsGetLastError() {
    Fake.calls.push_back("GetLastError");
    return Fake.lastError;
}

bool OsCreateProcess(char* commandBuffer, uint32_t showWindow, uint32_t creationFlags, const char* currentFolder,
                     OsProcessInfo* created) {
    Fake.calls.push_back(std::string("CreateProcess ") + commandBuffer);
    Fake.created.push_back(FakeCreateCall{commandBuffer, showWindow, creationFlags, currentFolder != nullptr,
                                          currentFolder != nullptr ? currentFolder : "", Fake.clockMs});
    FakeStart start;
    if (!Fake.starts.empty()) {
        start = Fake.starts.front();
        Fake.starts.pop_front();
    }
    created->process = nullptr;
    created->thread = nullptr;
    created->processId = 0;
    if (!start.succeeds) {
        Fake.lastError = start.lastError;
        return false;
    }
    Fake.lastError = Fake.lastErrorAfterSuccess;
    created->processId = start.processId != 0 ? start.processId : nextProcessId++;
    if (start.giveHandles) {
        created->process = reinterpret_cast<OsHandle>(nextHandle++);
        created->thread = reinterpret_cast<OsHandle>(nextHandle++);
        if (start.exitCodeReadable) exitCodes[reinterpret_cast<uintptr_t>(created->process)] = start.exitCode;
    }
    return true;
}

void OsWaitForProcess(OsHandle process) {
    Fake.calls.push_back("WaitForSingleObject");
    Fake.waitedHandles.push_back(reinterpret_cast<uintptr_t>(process));
}

bool OsGetExitCodeProcess(OsHandle process, uint32_t* exitCode) {
    Fake.calls.push_back("GetExitCodeProcess");
    const auto found = exitCodes.find(reinterpret_cast<uintptr_t>(process));
    if (found == exitCodes.end()) return false;
    *exitCode = found->second;
    return true;
}

void OsCloseHandle(OsHandle handle) {
    Fake.calls.push_back("CloseHandle");
    Fake.mutexHandles.erase(reinterpret_cast<uintptr_t>(handle));
    Fake.closedHandles.push_back(reinterpret_cast<uintptr_t>(handle));
    Fake.openFiles.erase(reinterpret_cast<uintptr_t>(handle));
}

void OsExitProcess(uint32_t exitCode) {
    Fake.calls.push_back("ExitProcess " + std::to_string(exitCode));
    throw FakeExit{exitCode};
}

void OsGetLocalTime(OsLocalTime* now) {
    Fake.calls.push_back("GetLocalTime");
    int64_t ms = Fake.clockMs;
    if (!Fake.clockReadings.empty()) {
        ms = Fake.clockReadings.front();
        Fake.clockReadings.pop_front();
    }
    const int64_t days = ms / 86400000;
    ms %= 86400000;
    now->year = Fake.year;
    now->month = Fake.month;
    now->day = static_cast<uint16_t>(Fake.day + days);
    now->hour = static_cast<uint16_t>(ms / 3600000);
    now->minute = static_cast<uint16_t>(ms / 60000 % 60);
    now->second = static_cast<uint16_t>(ms / 1000 % 60);
    now->milliseconds = static_cast<uint16_t>(ms % 1000);
}

uint32_t OsGetTickCount() {
    return static_cast<uint32_t>(Fake.clockMs + Fake.tickOffset);
}

void OsSleep(uint32_t milliseconds) {
    Fake.calls.push_back("Sleep " + std::to_string(milliseconds));
    Fake.sleeps.push_back(milliseconds);
    int64_t lasts = milliseconds;
    if (Fake.sleepTickMs > 0) lasts = (lasts + Fake.sleepTickMs - 1) / Fake.sleepTickMs * Fake.sleepTickMs;
    Fake.clockMs += lasts + Fake.nextSleepOverrunMs;
    Fake.nextSleepOverrunMs = 0;
}

uint32_t OsGetComputerName(char* buffer, uint32_t size) {
    if (Fake.computerName.size() >= size) return 0;
    std::memcpy(buffer, Fake.computerName.c_str(), Fake.computerName.size() + 1);
    return static_cast<uint32_t>(Fake.computerName.size());
}

uint32_t OsGetCurrentProcessId() {
    return 4242;
}

int32_t OsMessageBox(const char* text, const char* title, uint32_t style) {
    Fake.calls.push_back(std::string("MessageBox ") + title);
    Fake.boxes.push_back(FakeMessageBox{text, title, style});
    return 1;  // IDOK
}

uint32_t OsGetFileAttributes(const char* path) {
    Fake.calls.push_back(std::string("GetFileAttributes ") + path);
    Fake.lookErrorModes.push_back(Fake.errorMode);
    Fake.clockMs += Fake.lookMs;
    const auto appears = Fake.pathsAppearAt.find(path);
    if (appears != Fake.pathsAppearAt.end() && Fake.clockMs >= appears->second) return kFolderAttribute;
    const auto file = Fake.files.find(path);
    if (file == Fake.files.end()) return kNoFileAttributes;
    return file->second.folder ? kFolderAttribute : 0x20;  // FILE_ATTRIBUTE_ARCHIVE
}

namespace {

// Copies `text` as the path functions do: the length, or the size needed.
uint32_t CopyPath(const std::string& text, char* buffer, uint32_t size) {
    if (text.size() + 1 > size) return static_cast<uint32_t>(text.size() + 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<uint32_t>(text.size());
}

}  // namespace

uint32_t OsGetFullPathName(const char* path, char* buffer, uint32_t size) {
    Fake.calls.push_back(std::string("GetFullPathName ") + path);
    const std::string p = path;
    if (p.empty()) return 0;
    const bool absolute = (p.size() >= 3 && p[1] == ':' && p[2] == '\\') || p.rfind("\\\\", 0) == 0;
    return CopyPath(absolute ? p : Fake.currentFolder + "\\" + p, buffer, size);
}

bool OsIsNetworkDrive(const char* root) {
    return Fake.networkDrives.count(root) != 0;
}

uint32_t OsSearchPath(const char* folders, const char* file, const char* extension, char* buffer, uint32_t size) {
    Fake.calls.push_back(std::string("SearchPath ") + file);
    std::string name = file;
    const size_t lastPart = name.find_last_of('\\');
    if (extension != nullptr && name.find('.', lastPart == std::string::npos ? 0 : lastPart) == std::string::npos) {
        name += extension;
    }
    const std::string list = folders;
    for (size_t start = 0; start <= list.size();) {
        size_t end = list.find(';', start);
        if (end == std::string::npos) end = list.size();
        const std::string folder = list.substr(start, end - start);
        if (!folder.empty()) {
            const std::string candidate = folder + "\\" + name;
            const auto found = Fake.files.find(candidate);
            if (found != Fake.files.end() && !found->second.folder) return CopyPath(candidate, buffer, size);
        }
        start = end + 1;
    }
    return 0;
}

int32_t OsReadFileStart(const char* path, char* buffer, uint32_t size) {
    Fake.calls.push_back(std::string("ReadFileStart ") + path);
    const auto file = Fake.files.find(path);
    if (file == Fake.files.end() || file->second.folder || !file->second.readable) return -1;
    const size_t count = file->second.start.size() < size ? file->second.start.size() : size;
    std::memcpy(buffer, file->second.start.data(), count);
    return static_cast<int32_t>(count);
}

void OsWriteStandardOutput(const char* text, uint32_t length) {
    Fake.output.append(text, length);
}

// The code page of the double is UTF-8, with the case pairs of ASCII and a
// few that change a character's length: enough for the per-character rule.
namespace {

struct CasePair {
    uint32_t lower;
    uint32_t upper;
};
const CasePair kCasePairs[] = {
    {0x00E4, 0x00C4},  // a with diaeresis: two bytes both ways
    {0x0131, 0x0049},  // dotless i: its upper case is one byte
    {0x2C65, 0x023A},  // a with stroke: three bytes lower, two upper
};

uint32_t MapCodePoint(uint32_t c, bool upper) {
    if (upper && c >= 'a' && c <= 'z') return c - 32;
    if (!upper && c >= 'A' && c <= 'Z') return c + 32;
    for (const CasePair& pair : kCasePairs) {
        if (upper && c == pair.lower) return pair.upper;
        if (!upper && c == pair.upper && pair.lower != 0x0131) return pair.lower;
    }
    return c;
}

}  // namespace

uint32_t OsCharacterLength(const char* text, uint32_t left) {
    const unsigned char lead = static_cast<unsigned char>(text[0]);
    const uint32_t length = lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 && lead < 0xF0 ? 3 : lead >= 0xC0 && lead < 0xE0 ? 2 : 1;
    for (uint32_t k = 1; k < length; ++k) {
        if (k >= left || (static_cast<unsigned char>(text[k]) & 0xC0) != 0x80) return 1;
    }
    return length;
}

uint32_t OsAnsiToWide(const char* text, uint32_t length, uint16_t* wide, uint32_t wideSize) {
    uint32_t units = 0;
    for (uint32_t i = 0; i < length;) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        const uint32_t extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : 9;
        if (extra == 9 || i + extra >= length) return 0;  // not a lead byte, or the sequence is cut
        uint32_t c = extra == 0 ? b : b & (0x3F >> extra);
        for (uint32_t k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return 0;
            c = (c << 6) | (next & 0x3F);
        }
        i += extra + 1;
        if (c >= 0x10000) {
            if (units + 2 > wideSize) return 0;
            wide[units++] = static_cast<uint16_t>(0xD800 + ((c - 0x10000) >> 10));
            wide[units++] = static_cast<uint16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            if (units + 1 > wideSize) return 0;
            wide[units++] = static_cast<uint16_t>(c);
        }
    }
    return units;
}

uint32_t OsWideToAnsi(const uint16_t* wide, uint32_t count, char* text, uint32_t size) {
    std::string out;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t c = wide[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count) c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    if (out.size() > size) return 0;
    std::memcpy(text, out.data(), out.size());
    return static_cast<uint32_t>(out.size());
}

void OsMapWideCase(uint16_t* wide, uint32_t count, bool upper) {
    for (uint32_t i = 0; i < count; ++i) {
        if (wide[i] >= 0xD800 && wide[i] <= 0xDFFF) continue;  // no pairs outside the basic plane here
        wide[i] = static_cast<uint16_t>(MapCodePoint(wide[i], upper));
    }
}

namespace {

bool FolderIsThere(const std::string& folder) {
    if (folder.size() == 2 && folder[1] == ':') return true;  // a drive's root
    const auto found = Fake.files.find(folder);
    return found != Fake.files.end() && found->second.folder;
}

// The folder that holds a path, by the launcher's own rule ("/" too), as
// Windows takes it.
std::string ParentOf(const std::string& path) {
    return FolderOf(path);
}

// A file operation on `path`: logged, and as slow as a share that does not
// answer when the path lies on one.
void FileOperation(const std::string& what, const std::string& path) {
    Fake.calls.push_back(what + " " + path);
    if (!Fake.slowPathPrefix.empty() && path.rfind(Fake.slowPathPrefix, 0) == 0) Fake.clockMs += Fake.slowPathMs;
}

// The file a path names: itself, or the one it is another spelling of.
std::string Identity(const std::string& path) {
    const auto alias = Fake.sameFiles.find(path);
    return Lower(alias != Fake.sameFiles.end() ? alias->second : path);
}

bool IsThere(const std::string& path) {
    return Fake.files.count(path) != 0 || Fake.sameFiles.count(path) != 0;
}

bool IsOpen(const std::string& path) {
    for (const auto& open : Fake.openFiles) {
        if (open.second == path) return true;
    }
    return false;
}

std::string& ContentsOf(OsHandle file) {
    return Fake.files[Fake.openFiles.at(reinterpret_cast<uintptr_t>(file))].start;
}

}  // namespace

OsHandle OsOpenForAppending(const char* path) {
    FileOperation("OpenForAppending", path);
    Fake.lookErrorModes.push_back(Fake.errorMode);
    uint32_t error = 0;
    if (!Fake.appendOpenErrors.empty()) {
        error = Fake.appendOpenErrors.front();
        Fake.appendOpenErrors.pop_front();
    }
    const auto file = Fake.files.find(path);
    if (error == 0 && !FolderIsThere(ParentOf(path))) error = kPathNotFound;
    if (error == 0 && file != Fake.files.end() && (file->second.folder || !file->second.readable)) error = 5;
    if (error != 0) {
        Fake.lastError = error;
        return nullptr;
    }
    Fake.files[path];
    const uintptr_t handle = nextHandle++;
    Fake.openFiles[handle] = path;
    return reinterpret_cast<OsHandle>(handle);
}

bool OsLockByte(OsHandle, uint64_t) {
    Fake.calls.push_back("LockByte");
    if (Fake.lockRefusals != 0) {
        if (Fake.lockRefusals > 0) --Fake.lockRefusals;
        Fake.lastError = kLockViolation;
        return false;
    }
    ++Fake.locksHeld;
    return true;
}

void OsUnlockByte(OsHandle, uint64_t) {
    Fake.calls.push_back("UnlockByte");
    --Fake.locksHeld;
}

bool OsGetFileSize(OsHandle file, uint64_t* size) {
    *size = ContentsOf(file).size();
    return true;
}

int32_t OsReadAt(OsHandle file, uint64_t offset, char* buffer, uint32_t size) {
    const std::string& contents = ContentsOf(file);
    if (offset > contents.size()) return 0;
    const size_t count = std::min<size_t>(size, contents.size() - offset);
    std::memcpy(buffer, contents.data() + offset, count);
    return static_cast<int32_t>(count);
}

bool OsWriteAtEnd(OsHandle file, const char* data, uint32_t size) {
    Fake.calls.push_back("WriteAtEnd");
    if (Fake.writesFail) {
        ContentsOf(file).append(data, size / 2);  // cut short, as a disk that fills up
        return false;
    }
    ContentsOf(file).append(data, size);
    return true;
}

bool OsGetFileSizeOf(const char* path, uint64_t* size) {
    FileOperation("GetFileSizeOf", path);
    const auto file = Fake.files.find(path);
    if (file == Fake.files.end() || file->second.folder) return false;
    *size = file->second.start.size();
    return true;
}

bool OsCreateFolder(const char* path) {
    FileOperation("CreateFolder", path);
    if (Fake.files.count(path) != 0) {
        Fake.lastError = kAlreadyExists;
        return false;
    }
    if (!FolderIsThere(ParentOf(path))) {
        Fake.lastError = kPathNotFound;
        return false;
    }
    Fake.files[path].folder = true;
    return true;
}

bool OsMoveFileReplacing(const char* from, const char* to) {
    FileOperation("MoveFile", std::string(from) + " " + to);
    const auto file = Fake.files.find(from);
    if (file == Fake.files.end()) {
        Fake.lastError = 2;
        return false;
    }
    // Windows replaces no file that is open (not even one shared for
    // deleting), and the handles open on the file moved stay on it.
    if (IsOpen(to)) {
        Fake.lastError = 5;
        return false;
    }
    Fake.files[to] = file->second;
    Fake.files.erase(from);
    for (auto& open : Fake.openFiles) {
        if (open.second == from) open.second = to;
    }
    return true;
}

bool OsSameFile(const char* first, const char* second) {
    FileOperation("SameFile", first);
    FileOperation("SameFile", second);
    return IsThere(first) && IsThere(second) && Identity(first) == Identity(second);
}

namespace {

int ProcessorBusyIn(int64_t second) {
    const std::vector<int>& busy = Fake.processorBusy;
    return busy.empty() ? 0 : busy[static_cast<size_t>(std::min<int64_t>(second, static_cast<int64_t>(busy.size()) - 1))];
}

bool OtherTurnNow() {
    for (const auto& span : Fake.otherTurns) {
        if (Fake.clockMs >= span.first && Fake.clockMs < span.second) return true;
    }
    return false;
}

OsHandle NewMutexHandle() {
    const uintptr_t handle = nextHandle++;
    Fake.mutexHandles.insert(handle);
    return reinterpret_cast<OsHandle>(handle);
}

}  // namespace

bool OsGetSystemTimes(uint64_t* idle, uint64_t* kernel, uint64_t* user) {
    Fake.calls.push_back("GetSystemTimes");
    const int64_t elapsed = std::max<int64_t>(Fake.clockMs - Fake.processorFrom, 0);
    int64_t busyMs = 0;
    for (int64_t second = 0; second * 1000 < elapsed; ++second) {
        busyMs += ProcessorBusyIn(second) * std::min<int64_t>(1000, elapsed - second * 1000) / 100;
    }
    // In 100 ns units; the kernel time holds the idle time, as Windows counts it.
    const uint64_t idleTime = static_cast<uint64_t>(elapsed - busyMs) * 10000;
    const uint64_t busyTime = static_cast<uint64_t>(busyMs) * 10000;
    *idle = Fake.processorBase + idleTime;
    *kernel = Fake.processorBase + idleTime + busyTime / 2;
    *user = Fake.processorBase + (busyTime - busyTime / 2);
    return true;
}

OsHandle OsCreateOwnedMutex(const char* name, bool* existed) {
    Fake.calls.push_back(std::string("CreateMutex ") + name);
    *existed = OtherTurnNow() || (!Fake.turnsTaken.empty() && Fake.turnReleasedAt < Fake.turnsTaken.back());
    if (!*existed) Fake.turnsTaken.push_back(Fake.clockMs);
    return NewMutexHandle();
}

OsHandle OsOpenMutex(const char* name) {
    Fake.calls.push_back(std::string("OpenMutex ") + name);
    return OtherTurnNow() ? NewMutexHandle() : nullptr;
}

void OsReleaseMutex(OsHandle) {
    Fake.calls.push_back("ReleaseMutex");
    Fake.turnReleasedAt = Fake.clockMs;
}
