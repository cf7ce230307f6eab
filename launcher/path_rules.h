// How Windows reads a path ("Naming Files, Paths, and Namespaces"), as far as
// Postpone itself needs it: where the record of starts lies when the settings
// file names it relatively. The checker judges every path by the same rules.
#pragma once

#include <string>

// True for "C:\..." and "\\server\share\...": a path that no working folder
// changes.
bool IsFullPath(const std::string& path);

// The separators of a path: Windows takes "/" for "\\" ("Naming Files,
// Paths, and Namespaces": "both types of slashes").
bool IsSeparator(char c);

// The folder part of a path, without its last separator ("" when none).
std::string FolderOf(const std::string& path);

// A full path as the platform normalises it before it looks (GetFullPathName):
// "/" as "\\", "." and ".." folded in, repeated separators as one, trailing
// dots and blanks of the last part removed, in lower case (file names ignore
// case). Two spellings of one path give the same text; an 8.3 name only the
// file system itself can tell (OsSameFile).
std::string NormalisedPath(const std::string& path);

// `path` taken from the working folder `folder`: a full path as it stands, a
// path that starts with "\" on the folder's drive (or share), anything else
// joined to the folder with its "." and ".." parts folded in, as the platform
// folds them before it looks (never above the drive or the share).
std::string ResolvedFrom(const std::string& folder, const std::string& path);
