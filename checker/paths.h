// The checker's path helpers, as Windows reads a path ("Naming Files, Paths,
// and Namespaces"): its parts, its extension, and what the file system holds
// there. Full paths, folders and joining a relative path to a folder follow
// Postpone's own rules (path_rules.h).
#pragma once

#include <string>

#include "path_rules.h"

// The name after the path's last backslash or slash.
std::string FileNameOf(const std::string& path);

// The extension of the path's last name, lower-cased with its dot (".exe"),
// or "" when that name has none; and whether it is `extension`.
std::string ExtensionOf(const std::string& path);
bool HasExtension(const std::string& path, const std::string& extension);

// `path` with ".exe" added when its last name has no extension, as the
// platform's program search adds it.
std::string WithExeExtension(const std::string& path);

// What the file system holds at `path`: anything, a file, a folder.
bool Exists(const std::string& path);
bool IsFile(const std::string& path);
bool IsFolder(const std::string& path);
