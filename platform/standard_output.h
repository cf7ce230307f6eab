// The checker's report goes to standard output through this one wrapper.
#pragma once

#include <cstdint>

// Writes `length` bytes of ANSI text. Redirected to a file or a pipe, the
// bytes go out unchanged; on a console the text is shown as the characters
// it stands for, whatever the console's own code page.
void OsWriteStandardOutput(const char* text, uint32_t length);

// True when the console holds no process but this one: the program was
// started from Explorer, and its console closes the moment it ends.
bool OsConsoleIsItsOwn();

// Waits until a key is pressed in the console.
void OsWaitForKey();
