// The status bar and the progress bar inside it. Windows only.
#pragma once

#include <windows.h>

namespace vell {

// Creates the status bar (id 111, text " Status Bar") at the window's
// bottom edge and the hidden progress bar in it, range 0..100, position 0.
// Returns the status bar; the progress bar goes to *progress_bar.
HWND create_status_bar(HWND window, HINSTANCE instance, HWND* progress_bar);

// Shows the progress bar at value (0..100), or hides it.
void show_progress(HWND progress_bar, int value);
void hide_progress(HWND progress_bar);

// Moves the status bar to the bottom edge of a client area of this size.
void place_status_bar(HWND status_bar, int client_width, int client_height);

}  // namespace vell
