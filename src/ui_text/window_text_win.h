// The window-text and menu-text operations on Windows. Windows only.
#pragma once

#include <windows.h>

#include <string>

namespace vell {

// Sets a window's text, trimmed and cut at 199 characters.
void set_window_text(HWND window, const std::string& text);

// Replaces the text of one menu item (by position when by_position, else by
// command id) through SetMenuItemInfoA, trimmed and cut at 199 characters.
// An item that is not there (deleted) is left alone.
void set_menu_text(HMENU menu, UINT item, bool by_position, const std::string& text);

}  // namespace vell
