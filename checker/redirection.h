// Why a 64-bit program's path is "not found" for 32-bit Postpone, and what
// to write instead.
#pragma once

#include <string>

// Empty, or a sentence in parentheses (with a blank before it) when this
// process runs under WOW64, `missingPath` is under the System32 folder or the
// x86 Program Files folders that %ProgramFiles% and %CommonProgramFiles%
// expand to here, and its 64-bit counterpart exists.
std::string RedirectionHint(const std::string& missingPath);

// Empty, or the hint for a bare name that only the 64-bit System32 holds
// (wsl.exe, bash.exe, the OpenSSH tools in System32\OpenSSH), which a 32-bit
// process's search of System32 never sees under WOW64.
std::string SystemToolHint(const std::string& name);

// `text` with the variables whose meaning a 32-bit process sees redirected
// (%ProgramFiles%, %CommonProgramFiles%) written by their 64-bit names when
// this process runs under WOW64: what a 64-bit program such as Explorer
// means by them, and what 32-bit Postpone must be given for it.
std::string As64BitNames(const std::string& text);
