// The wrappers of shell.h over the shell-link interface and the shell's
// folders (ole32, shell32).
#include "shell.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

namespace {

// COM once per process; the checker is one thread that ends soon after.
void StartCom() {
    static const bool started = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    (void)started;
}

std::wstring Wide(const char* text) {
    const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (units <= 0) return std::wstring();
    std::vector<wchar_t> wide(static_cast<size_t>(units));
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), units);
    return std::wstring(wide.data());
}

}  // namespace

OsShellLinkRead OsReadShellLink(const char* path, OsShellLink* link) {
    StartCom();
    IShellLinkA* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shellLink)))) {
        return OsShellLinkRead::NoShell;
    }
    OsShellLinkRead read = OsShellLinkRead::NotAShortcut;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        const std::wstring widePath = Wide(path);
        if (SUCCEEDED(file->Load(widePath.c_str(), STGM_READ))) {
            // INFOTIPSIZE is the longest text a shortcut's fields hold.
            std::vector<char> buffer(INFOTIPSIZE + 1, '\0');
            // The raw path: without SLGP_RAWPATH, a 32-bit caller on 64-bit
            // Windows is handed C:\Program Files (x86)\... for a target under
            // C:\Program Files, which Explorer, 64-bit, does not start
            // (IShellLinkA::GetPath in Microsoft's documentation: "SLGP_RAWPATH:
            // Retrieves the raw path name. A raw path is something that might
            // not exist and may include environment variables that need to be
            // expanded"). S_FALSE: the shortcut names no file.
            const HRESULT got = shellLink->GetPath(buffer.data(), INFOTIPSIZE, nullptr, SLGP_RAWPATH);
            read = got == S_OK && buffer[0] != '\0' ? OsShellLinkRead::Read
                   : SUCCEEDED(got)                  ? OsShellLinkRead::NoPath
                                                     : OsShellLinkRead::NotAShortcut;
            link->target = buffer.data();
            buffer.assign(INFOTIPSIZE + 1, '\0');
            if (SUCCEEDED(shellLink->GetArguments(buffer.data(), INFOTIPSIZE))) link->arguments = buffer.data();
            buffer.assign(INFOTIPSIZE + 1, '\0');
            if (SUCCEEDED(shellLink->GetWorkingDirectory(buffer.data(), INFOTIPSIZE))) link->folder = buffer.data();
            int show = SW_SHOWNORMAL;
            if (SUCCEEDED(shellLink->GetShowCmd(&show))) link->showCommand = show;
        }
        file->Release();
    }
    shellLink->Release();
    return read;
}

std::string OsGetStartupFolder(OsStartupFolder which) {
    char folder[MAX_PATH + 1] = {0};
    const int id = which == OsStartupFolder::User ? CSIDL_STARTUP : CSIDL_COMMON_STARTUP;
    if (FAILED(SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, folder))) return std::string();
    return folder;
}
