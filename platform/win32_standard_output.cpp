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
            // In pieces: older Windows takes WriteConsoleW's buffer from a
            // 64 KB heap it shares, and a long report fails whole there. A
            // piece never ends between the two halves of a surrogate pair.
            constexpr size_t kPiece = 8192;
            bool written = true;
            size_t done = 0;
            while (written && done < wide.size()) {
                size_t count = wide.size() - done < kPiece ? wide.size() - done : kPiece;
                if (done + count < wide.size() && wide[done + count - 1] >= 0xD800 && wide[done + count - 1] <= 0xDBFF) {
                    --count;
                }
                DWORD piece = 0;
                written = WriteConsoleW(out, wide.data() + done, static_cast<DWORD>(count), &piece, nullptr) && piece > 0;
                done += written ? piece : 0;
            }
            if (done > 0) return;  // a part on the console: the rest as bytes would repeat it
        }
    }
    // A file or a pipe: the bytes as Postpone sees them.
    for (uint32_t done = 0; done < length;) {
        DWORD written = 0;
        if (!WriteFile(out, text + done, length - done, &written, nullptr) || written == 0) return;
        done += written;
    }
}

bool OsConsoleIsItsOwn() {
    // Output to a file or a pipe: a script reads it, nobody waits at a window.
    DWORD mode = 0;
    if (!GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode)) return false;
    DWORD processes[2] = {0, 0};
    return GetConsoleProcessList(processes, 2) == 1;
}

void OsWaitForKey() {
    const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    if (in == nullptr || in == INVALID_HANDLE_VALUE) return;
    FlushConsoleInputBuffer(in);
    for (;;) {
        INPUT_RECORD record;
        DWORD read = 0;
        if (!ReadConsoleInputA(in, &record, 1, &read) || read == 0) return;
        if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown) return;
    }
}
