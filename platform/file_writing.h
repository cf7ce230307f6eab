// Writing a file in one step: postpone-check /add alone, for the settings
// file it adds an entry to. Linked into postpone-check alone; Postpone.exe
// never writes its settings file.
#pragma once

#include <cstdint>

// Creates `path` (it must not be there yet) holding `data`, flushed to the
// disk before it is closed. The platform's error, or 0; a file cut short by
// a full disk is deleted again.
uint32_t OsWriteNewFile(const char* path, const char* data, uint32_t size);

// Puts `replacement` in the place of `target` in one step, keeping the
// previous `target` as `backup` (ReplaceFileA). The platform's error, or 0.
uint32_t OsReplaceFile(const char* target, const char* replacement, const char* backup);

// Renames `from` to `to`, which must not be there. The platform's error, or 0.
uint32_t OsMoveFileNew(const char* from, const char* to);

void OsDeleteFile(const char* path);
