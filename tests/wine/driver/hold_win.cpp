// `vtdriver hold READY-FILE`: the Wine program that the rig keeps running
// for a whole test run.
//
// While no program of the prefix runs, Wine ends the prefix's desktop
// process and services; the next program starts them again, and a program
// that starts while they are still shutting down can lose its windows. The
// rig starts this before the first case, so that one desktop serves every
// case. It asks for the desktop window (which starts the desktop process
// and waits until it is up), writes READY-FILE with what it found and then
// waits until wineserver -k ends it.
#include <windows.h>

#include <cstdio>

#include "driver.h"
#include "report_win.h"

namespace vtdriver {

int cmd_hold(const Args& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: vtdriver hold READY-FILE\n");
        return 64;
    }
    HWND desktop = GetDesktopWindow();
    RECT size = {};
    if (!desktop || !GetWindowRect(desktop, &size) || size.right <= size.left) {
        std::fprintf(stderr, "vtdriver hold: no desktop window\n");
        return 1;
    }
    DWORD desktop_process = 0;
    GetWindowThreadProcessId(desktop, &desktop_process);
    FILE* ready = std::fopen(args[0].c_str(), "wb");
    if (!ready) {
        std::fprintf(stderr, "vtdriver hold: cannot write %s\n", args[0].c_str());
        return 1;
    }
    std::fprintf(ready, "desktop=%ldx%ld process=%s\n", long(size.right - size.left),
                 long(size.bottom - size.top), process_name(desktop_process).c_str());
    std::fclose(ready);
    for (;;) Sleep(INFINITE);
}

}  // namespace vtdriver

namespace vtdriver {

// `vtdriver crash`: ends by an access violation, as a crashing vell.exe
// would, so that a rig case can check that a crash ends the program with
// its exception code instead of waiting in Wine's debugger.
int cmd_crash(const Args&) {
    std::fflush(stdout);
    volatile int* nowhere = nullptr;
    *nowhere = 1;
    return 0;
}

}  // namespace vtdriver
