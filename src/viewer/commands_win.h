// WM_COMMAND of the viewer window: the zoom box, the index box, and the
// menu and toolbar commands. Windows only.
#pragma once

#include <windows.h>

namespace vell {

void on_command(HWND window, int id, int notification);

}  // namespace vell
