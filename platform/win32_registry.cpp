// The wrapper of registry.h over the registry functions (advapi32).
#include "registry.h"
#include "registry_buffers.h"

#include <windows.h>

OsRegistryRead OsReadRegistryValues(OsRegistryRoot root, const char* subkey, OsRegistryView view,
                                    std::vector<OsRegistryValue>* values) {
    values->clear();
    const HKEY rootKey = root == OsRegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    const REGSAM viewFlag = view == OsRegistryView::Bits64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
    HKEY key = nullptr;
    if (RegOpenKeyExA(rootKey, subkey, 0, KEY_READ | viewFlag, &key) != ERROR_SUCCESS) return OsRegistryRead::Missing;
    DWORD longestName = 0, longestData = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                         &longestData, nullptr, nullptr) != ERROR_SUCCESS) {
        RegCloseKey(key);
        return OsRegistryRead::Unreadable;
    }
    // The longest lengths come in characters for a name, bytes for data; an
    // ANSI name can take more bytes than characters (a double-byte or UTF-8
    // code page), and a value can grow meanwhile: ERROR_MORE_DATA grows the
    // buffer that was short and reads the same value again.
    RegistryBuffers sizes = FirstRegistryBuffers(longestName, longestData);
    std::string name, data;
    OsRegistryRead result = OsRegistryRead::Read;
    for (DWORD index = 0;;) {
        name.assign(sizes.name, '\0');
        data.assign(sizes.data, '\0');
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataLength = static_cast<DWORD>(data.size());
        DWORD type = 0;
        const LONG status = RegEnumValueA(key, index, &name[0], &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(&data[0]), &dataLength);
        if (status == ERROR_MORE_DATA && GrowRegistryBuffers(&sizes, dataLength)) continue;
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) {
            result = OsRegistryRead::Unreadable;
            break;
        }
        OsRegistryValue value;
        value.name.assign(name.data(), nameLength);
        value.type = type;
        value.data.assign(data.data(), dataLength);
        if ((type == REG_SZ || type == REG_EXPAND_SZ) && !value.data.empty()) {
            value.data.resize(value.data.find('\0') == std::string::npos ? value.data.size() : value.data.find('\0'));
        }
        values->push_back(value);
        ++index;
    }
    RegCloseKey(key);
    return result;
}
