// The wrapper of standard_output.h over the real Win32 API.
#include "standard_output.h"

#include <windows.h>

#include <vector>

void OsWriteStandardOutput(const char* text, uint32_t length) {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE || length == 0) return;
    DWORD mode = 0;
    if (GetConsoleMode(out, &mode)) {
        // A console shows bytes in its own output code page (the OEM one), so
        // C:\Übung written as ANSI bytes would come out garbled: hand it the
        // characters instead.
        const int wideLength = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
        if (wideLength > 0) {
            std::vector<WCHAR> wide(static_cast<size_t>(wideLength));
            MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), wide.data(), wideLength);
            DWORD written = 0;
            if (WriteConsoleW(out, wide.data(), static_cast<DWORD>(wideLength), &written, nullptr)) return;
        }
    }
    // A file or a pipe: the bytes as Postpone sees them.
    for (uint32_t done = 0; done < length;) {
        DWORD written = 0;
        if (!WriteFile(out, text + done, length - done, &written, nullptr) || written == 0) return;
        done += written;
    }
}
