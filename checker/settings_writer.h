// Adding lines to the user's settings file (postpone-check /add): every byte
// of it stays as it was (its encoding, ANSI or UTF-16 with its byte-order
// mark; its line ends; comments; other sections; the order of keys) but the
// new lines, and it is put in place in one step, so that a power cut or a
// full disk leaves the old file or the new one, never a part.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `bytes` (a settings file; empty for one that is not there) with `lines`
// (ANSI text, without their line ends) added after the last line of the
// first [Launch] section, the one Windows' reader reads, or in a new
// [Launch] section at the end. False, with `why`, for a file that Windows'
// reader does not read as written (UTF-8 with a byte-order mark, whose first
// section Windows does not find; UTF-16 big-endian).
bool WithLinesInLaunch(const std::string& bytes, const std::vector<std::string>& lines, std::string* result,
                       std::string* why);

// The names beside the settings file: the new file written first, and the
// previous file kept.
std::string NewPathOf(const std::string& path);
std::string BackupPathOf(const std::string& path);

// The settings file whole, as it is now; false when it cannot be read (or is
// larger than any settings file). `exists` false, and true returned, when it
// is not there.
bool ReadSettingsBytes(const std::string& path, std::string* bytes, bool* exists);

// The file no longer holds what was read: another program changed it.
constexpr uint32_t kChangedMeanwhile = 0xFFFFFFFFu;

// Puts `after` in the place of the settings file at `path`, keeping the
// previous file as BackupPathOf(path), unless it no longer holds `before`
// (read when `existed`). 0, kChangedMeanwhile, or the platform's error; on
// any failure the settings file is as it was.
uint32_t ReplaceSettingsFile(const std::string& path, bool existed, const std::string& before, const std::string& after);
