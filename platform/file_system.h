// The file-system wrappers that only the settings checker uses: it looks at
// files and folders that Postpone itself reaches only through the profile
// reader and the file search.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform.h"  // OsGetFileAttributes, which a waiting copy uses too

// True when the drive of `root` ("Z:\\") is a network drive (GetDriveType's
// DRIVE_REMOTE): a share that Windows may reconnect only after logon.
bool OsIsNetworkDrive(const char* root);

// The full path of `path` (against the current folder). Like the API: the
// length copied, or the size needed (the NUL included) when `size` is too
// small, or 0 on failure.
uint32_t OsGetFullPathName(const char* path, char* buffer, uint32_t size);

// Looks for `file` in the folders of `folders` (separated by ";"), adding
// `extension` when the name has none, as the platform's own search does. The
// same return convention as OsGetFullPathName.
uint32_t OsSearchPath(const char* folders, const char* file, const char* extension, char* buffer, uint32_t size);

// Reads up to `size` bytes from the start of the file at `path` without
// changing anything. The count read, or -1 when the file cannot be opened or
// read.
int32_t OsReadFileStart(const char* path, char* buffer, uint32_t size);

// The names of the files (not the folders) in `folder`. False when it cannot
// be listed to the end (the names read so far are kept).
bool OsListFiles(const char* folder, std::vector<std::string>* names);

// The path of the file itself, links followed (what GetFinalPathNameByHandle
// gives, without its \\?\ prefix); empty when it cannot be opened.
std::string OsFinalPath(const char* path);

