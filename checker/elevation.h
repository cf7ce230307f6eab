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

// Installer detection ("How User Account Control works", Microsoft): it
// "only applies to: 32-bit executable files; Applications without a
// requestedExecutionLevel ...", and among its heuristics "Filename includes
// keywords such as "install," "setup," "update," etc.".
bool IsFlaggedByInstallerDetection(const std::string& path, bool is32Bit, ExecutionLevel level);

// True when the compatibility layer RUNASADMIN is set for `path` ("Run this
// program as an administrator") under HKCU or HKLM, in either view.
bool MarkedToRunAsAdministrator(const std::string& path);

// Empty, or what stops the start and the way out, for the program at `path`:
// Windows refuses the start for every user, or under the condition the text
// names (an administrator account, installer detection switched on).
std::string WhyElevationStopsTheStart(const std::string& path, const FileFacts& facts);
