// The viewer window's life: set-up on WM_INITDIALOG, the layout on
// WM_SIZE and the end on WM_CLOSE. Windows only.
#pragma once

#include <windows.h>

namespace vell {

void set_up_window(HWND window);
void lay_out_window(WPARAM size_type, LPARAM client_size);
void close_window(HWND window);

}  // namespace vell
