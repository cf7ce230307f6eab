// Whether Windows refuses to start a program from Postpone because the
// program asks for administrator rights. Postpone runs with the user's
// ordinary rights, and CreateProcess from a process that is not elevated
// fails with error 740 (ERROR_ELEVATION_REQUIRED) for a program that must be
// elevated. Wine has no UAC: these rules are pinned in unit tests alone.
#pragma once

#include <string>

#include "file_kind.h"

// The level of an application manifest's requestedExecutionLevel.
enum class ExecutionLevel { Unstated, AsInvoker, HighestAvailable, RequireAdministrator };

ExecutionLevel ExecutionLevelOf(const std::string& manifest);

// True when the manifest's requestedExecutionLevel asks for uiAccess="true".
// Such a program must run elevated or from a protected folder with a
// signature; CreateProcess from a process that is not elevated fails with
// 740, ERROR_ELEVATION_REQUIRED (Microsoft: "User Account Control: Only
// elevate UIAccess applications that are installed in secure locations", and
// the requestedExecutionLevel element's uiAccess attribute).
bool AsksForUiAccess(const std::string& manifest);

// Installer detection ("How User Account Control works", Microsoft): it
// "only applies to: 32-bit executable files; Applications without a
// requestedExecutionLevel ...", and among its heuristics "Filename includes
// keywords such as "install," "setup," "update," etc.".
bool IsFlaggedByInstallerDetection(const std::string& path, bool is32Bit, ExecutionLevel level);

// True when the compatibility layer `layer` is set for `path` under HKCU or
// HKLM, in either view: RUNASADMIN ("Run this program as an administrator"),
// RUNASHIGHEST (the highest rights the user has). `readWhole` is cleared
// when a list of them could not be read to the end.
bool MarkedWithLayer(const std::string& path, const std::string& layer, bool* readWhole);

// Empty, or what stops the start and the way out, for the program at `path`:
// Windows refuses the start for every user, or under the condition the text
// names (an administrator account, installer detection switched on).
// `certain` is set when Windows refuses every start (not only under a
// condition).
std::string WhyElevationStopsTheStart(const std::string& path, const FileFacts& facts, bool* certain);
