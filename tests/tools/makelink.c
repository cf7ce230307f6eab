/* Makes a shortcut through the shell-link interface, as Explorer does:
 *   makelink LINK TARGET ARGUMENTS FOLDER [SHOW]
 * (an empty FOLDER leaves "Start in" empty; SHOW is its "Run" field, 1
 * normal, 3 maximised, 7 minimised). Prints "made LINK". */
#define COBJMACROS
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>
#include <shlobj.h>

int main(int argc, char** argv) {
    IShellLinkA* link;
    IPersistFile* file;
    WCHAR wide[MAX_PATH];
    if (argc < 5) return 2;
    CoInitialize(NULL);
    if (FAILED(CoCreateInstance(&CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, &IID_IShellLinkA, (void**)&link))) return 3;
    IShellLinkA_SetPath(link, argv[2]);
    IShellLinkA_SetArguments(link, argv[3]);
    IShellLinkA_SetWorkingDirectory(link, argv[4]);
    if (argc > 5) IShellLinkA_SetShowCmd(link, atoi(argv[5]));
    if (FAILED(IShellLinkA_QueryInterface(link, &IID_IPersistFile, (void**)&file))) return 4;
    MultiByteToWideChar(CP_ACP, 0, argv[1], -1, wide, MAX_PATH);
    if (FAILED(IPersistFile_Save(file, wide, TRUE))) return 5;
    printf("made %s\n", argv[1]);
    return 0;
}
