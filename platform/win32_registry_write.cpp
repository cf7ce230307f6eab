// Writing one registry value: postpone-check /add alone, to switch off a
// starter it took over. Apart from the reader, so that what can change the
// registry is one small file.
#include "registry.h"

#include <windows.h>

uint32_t OsWriteRegistryBinary(OsRegistryRoot root, const char* subkey, OsRegistryView view, const char* name,
                               const std::string& data) {
    const HKEY rootKey = root == OsRegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    const REGSAM viewFlag = view == OsRegistryView::Bits64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
    HKEY key = nullptr;
    LONG status = RegCreateKeyExA(rootKey, subkey, 0, nullptr, 0, KEY_SET_VALUE | viewFlag, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return static_cast<uint32_t>(status);
    status = RegSetValueExA(key, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(data.data()),
                            static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    return static_cast<uint32_t>(status);
}

uint64_t OsFileTimeNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}
