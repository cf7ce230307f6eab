/* Finds the top-level window titled argv[1] and prints the text of its
 * message (the static control with id 65535) in hex as "text=...", and its
 * class name as "class=...". Exits with 1 when there is no such window. */
#include <stdio.h>
#include <windows.h>

int main(int argc, char** argv) {
    static char text[8192];
    char className[256];
    HWND box;
    HWND message;
    int length;
    if (argc < 2) return 2;
    box = FindWindowA(NULL, argv[1]);
    if (box == NULL) return 1;
    GetClassNameA(box, className, sizeof className);
    message = GetDlgItem(box, 0xFFFF);
    length = message != NULL ? GetWindowTextA(message, text, sizeof text) : 0;
    printf("class=%s\ntext=", className);
    for (int i = 0; i < length; ++i) printf("%02x", (unsigned char)text[i]);
    printf("\n");
    return 0;
}
