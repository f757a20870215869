// The entry point of vell.exe. Start-up reads the command line itself, so
// that the text after the program's name is taken exactly as Windows gives it.
// Before anything else, libraries are limited to the system folder.
#include <windows.h>

#include "startup/library_search.h"
#include "startup/startup_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    vell::restrict_library_search();
    return vell::run_startup(instance);
}
