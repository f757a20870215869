// The viewer's mouse wheel, keyboard and display scale on Windows: the
// wheel scrolls and zooms, keys work wherever the focus is, Tab reaches the
// toolbar's boxes, and the window follows the display's resolution. All of
// it goes through the window's existing operations (scroll requests, page
// navigation, the command table, the zoom box). Windows only.
#pragma once

#include <windows.h>

#include "viewer/dpi.h"
#include "viewer/wheel.h"

namespace vell {

// MAINDLGPROC calls this after its own handling of every message: set-up
// and closing start and stop the keyboard hook, the wheel, key actions and
// WM_DPICHANGED are handled here, and the window publishes its render and
// copy counts (window properties "vell.renders" and "vell.copies") for the
// tests, which watch that scrolling never renders.
void after_viewer_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// ---- wheel_win.cpp ------------------------------------------------------------

// WM_MOUSEWHEEL and WM_MOUSEHWHEEL of the viewer window (the keyboard hook
// sends the wheel here whatever control has the focus).
void on_mouse_wheel(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// Moves the page down (positive) or up by scroll positions, going to the
// next page's top at the bottom and to the previous page's bottom at the top.
void move_page_vertically(HWND window, int positions);
// How far a line and a screen go now (the page, the zoom, the area).
ScrollSteps current_scroll_steps(bool horizontal);
// Moves the horizontal or vertical bar by positions, only while it is shown.
void scroll_shown_bar(bool horizontal, int positions);
// Zoom steps in (positive) or out in the click zoom's steps, keeping the
// page point under at (screen coordinates) where it is.
void zoom_by_steps(int steps, POINT at);
// A given percentage, keeping the point at in place.
void zoom_to_percent(int percent, POINT at);
// The middle of the page area, in screen coordinates.
POINT page_area_centre();

// ---- keys_win.cpp -------------------------------------------------------------

// The message the keyboard hook turns a viewer key into, sent on to the
// viewer window with the KeyAction as wParam.
constexpr UINT kKeyActionMessage = WM_APP + 115;
void start_keyboard_hook();
void stop_keyboard_hook();
void on_key_action(HWND window, WPARAM action);

// ---- dpi_win.cpp ----------------------------------------------------------------

// The resolution of the monitor the window is on (GetDpiForWindow where
// the system has it, else the screen's LOGPIXELSY).
int window_dpi(HWND window);
// Set-up: the page image renders at the window's resolution, the toolbar
// becomes a control parent (Tab reaches the boxes on it) and the page area
// takes the focus as the first stop of the Tab order.
void set_up_comforts(HWND window);
// WM_DPICHANGED: new toolbar images and UI font, the suggested window
// rectangle, and one redraw at the new resolution.
void on_dpi_changed(HWND window, WPARAM wparam, LPARAM lparam);

}  // namespace vell
