// The entry point of vell.exe. Start-up reads the command line itself, so
// that the text after the program's name is taken exactly as Windows gives it.
#include <windows.h>

#include "startup/startup_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return vell::run_startup(instance);
}
