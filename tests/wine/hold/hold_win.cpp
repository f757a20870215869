// vthold.exe READY-FILE: the Wine program that the rig keeps running for a
// whole test run.
//
// While no program of the prefix runs, Wine ends the prefix's desktop
// process and services; the next program starts them again, and a program
// that starts while they are still shutting down can lose its windows. The
// rig starts this before the first case, so that one desktop serves every
// case. It asks for the desktop window (which starts the desktop process
// and waits until it is up), writes READY-FILE with what it found and then
// waits until wineserver -k ends it.
//
// It is a program of its own, linked with nothing but kernel32 and user32:
// a process that loads the printing library (as vtdriver does) takes up the
// prefix's printers once, on load, and holds the lock that keeps later
// processes from taking them up again, so a holder started before the
// print fixture's scheduler would hide that scheduler's printers.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vthold READY-FILE\n");
        return 64;
    }
    HWND desktop = GetDesktopWindow();
    RECT size = {};
    if (!desktop || !GetWindowRect(desktop, &size) || size.right <= size.left) {
        std::fprintf(stderr, "vthold: no desktop window\n");
        return 1;
    }
    DWORD desktop_process = 0;
    GetWindowThreadProcessId(desktop, &desktop_process);
    FILE* ready = std::fopen(argv[1], "wb");
    if (!ready) {
        std::fprintf(stderr, "vthold: cannot write %s\n", argv[1]);
        return 1;
    }
    std::fprintf(ready, "desktop=%ldx%ld process=%lu\n", long(size.right - size.left),
                 long(size.bottom - size.top), (unsigned long)desktop_process);
    std::fclose(ready);
    for (;;) Sleep(INFINITE);
}
