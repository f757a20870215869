// Start-up: the program's main routine, from the command line to the end of
// the process. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "startup/command_line.h"

namespace vell {

// What start-up found out, kept for the parts that run after it: the module
// instance that dialogs, menus, icons and cursors are loaded from, the base
// of the document inside a self-extracting viewer (0 for a plain document),
// and the requests of the command line.
struct StartupState {
    HINSTANCE instance = nullptr;
    int32_t base = 0;
    StartRequest request;
};

StartupState& startup_state();

// Asks for a document with the open-file dialog (title "Open vell
// Document", "*.vel"), owned by owner or by no window. False when the user
// cancels or the name returned is blank.
bool ask_for_document(HWND owner, std::string* path);

// Runs start-up from the process's command line and returns when the
// process is to end. Failures are shown to the user, never returned: the
// result is always 0.
int run_startup(HINSTANCE instance);

}  // namespace vell
