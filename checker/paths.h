// The checker's path helpers, as Windows reads a path ("Naming Files, Paths,
// and Namespaces"): its parts, its extension, joining a relative path to a
// folder, and what the file system holds there.
#pragma once

#include <string>

// True for "C:\..." and "\\server\share\...": a path that no working folder
// changes.
bool IsFullPath(const std::string& path);

// The folder part of a path, without its last backslash ("" when none), and
// the name after it.
std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);

// The extension of the path's last name, lower-cased with its dot (".exe"),
// or "" when that name has none; and whether it is `extension`.
std::string ExtensionOf(const std::string& path);
bool HasExtension(const std::string& path, const std::string& extension);

// `path` with ".exe" added when its last name has no extension, as the
// platform's program search adds it.
std::string WithExeExtension(const std::string& path);

// `path` taken from the working folder `folder`: a full path as it stands, a
// path that starts with "\" on the folder's drive (or share), anything else
// joined to the folder with its "." and ".." parts folded in, as the platform
// folds them before it looks (never above the drive or the share).
std::string ResolvedFrom(const std::string& folder, const std::string& path);

// What the file system holds at `path`: anything, a file, a folder.
bool Exists(const std::string& path);
bool IsFile(const std::string& path);
bool IsFolder(const std::string& path);
