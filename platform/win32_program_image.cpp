// The wrappers of program_image.h over the kernel's image loader, which maps a
// program as data: nothing of it runs.
#include "program_image.h"

#include <windows.h>

#ifndef LOAD_LIBRARY_AS_IMAGE_RESOURCE
#define LOAD_LIBRARY_AS_IMAGE_RESOURCE 0x00000020
#endif

std::string OsReadManifest(const char* path) {
    // As a data file the image of any machine type loads, a 64-bit program
    // in a 32-bit process included.
    const HMODULE image = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (image == nullptr) return std::string();
    std::string manifest;
    const HRSRC found = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    if (found != nullptr) {
        const HGLOBAL loaded = LoadResource(image, found);
        const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
        if (bytes != nullptr) manifest.assign(static_cast<const char*>(bytes), SizeofResource(image, found));
    }
    FreeLibrary(image);
    return manifest;
}

bool OsRunsUnderWow64() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

uint16_t OsNativeMachine() {
    // IsWow64Process2 (Windows 10 1511 and later) is looked up, so that the
    // checker still starts on older Windows; it alone tells ARM64 Windows
    // running this x86 process. Before it: GetNativeSystemInfo.
    using Wow64Process2Function = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
    const auto wow64Process2 = reinterpret_cast<Wow64Process2Function>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process2")));
    USHORT process = 0, native = 0;
    if (wow64Process2 != nullptr && wow64Process2(GetCurrentProcess(), &process, &native)) return native;
    SYSTEM_INFO info;
    GetNativeSystemInfo(&info);
    switch (info.wProcessorArchitecture) {
        case PROCESSOR_ARCHITECTURE_AMD64:
            return 0x8664;
        case 12:  // PROCESSOR_ARCHITECTURE_ARM64
            return 0xAA64;
        default:
            return 0x014C;
    }
}

bool OsHasTwoRegistryViews() {
    return sizeof(void*) == 8 || OsRunsUnderWow64();
}
