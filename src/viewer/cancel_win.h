// Esc in the viewer window: it cancels what is in progress, one thing per
// press, and closes the viewer only when nothing is left to cancel.
// Windows only.
#pragma once

#include <windows.h>

namespace vell {

// The steps, in the order they are tried (cancel_win.cpp): an open list of
// a combo box closes by itself first (the keyboard hook leaves every key of
// an open list to the list); then a selection is cleared, a zoom-box edit
// is put back, the find mark is cleared, and the find dialog is closed;
// else the viewer closes.
void cancel_or_close(HWND viewer);

}  // namespace vell
