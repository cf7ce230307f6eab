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

bool OsHasTwoRegistryViews() {
    return sizeof(void*) == 8 || OsRunsUnderWow64();
}
