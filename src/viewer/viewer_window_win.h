// The viewer window's process-wide state: the handles of the window and its
// parts, the interface resources, and the few things the window keeps for
// itself. One instance each, reached through its accessor. Windows only.
#pragma once

#include <windows.h>

namespace vell {

// Created before the viewer window (or a one-shot action) and destroyed
// after it; the toolbar bitmap is made by the window when it sets itself up.
struct ViewerResources {
    HFONT ui_font = nullptr;         // "MS Sans Serif", size 9, for the controls
    HCURSOR magnifier = nullptr;     // cursor MAGNIFY, over the page area
    HMENU menu = nullptr;            // menu MAINMENU
    bool menu_attached = false;      // the window owns the menu once attached
    HBITMAP toolbar_bitmap = nullptr;  // bitmap 501 in the system's colours
};
ViewerResources& viewer_resources();

struct ViewerWindow {
    HWND window = nullptr;
    HWND toolbar = nullptr;
    HWND status_bar = nullptr;
    HWND progress_bar = nullptr;
    HWND zoom_label = nullptr;      // 106
    HWND zoom_box = nullptr;        // 107
    HWND index_box = nullptr;       // 113
    HWND page_area = nullptr;       // 108
    HWND vertical_bar = nullptr;    // 109
    HWND horizontal_bar = nullptr;  // 110
    // WM_CLOSE has ended the window: the viewer's message loop stops.
    bool closed = false;
    // The client size the window was last laid out and drawn for: Wine
    // repeats the WM_SIZE of the first showing, which changes nothing.
    bool laid_out = false;
    LPARAM laid_out_size = 0;
    // The tooltip text handed to the tooltip control, which reads it after
    // the notification has returned: so it lives here, not on the stack.
    char tooltip[256] = {};
    wchar_t tooltip_wide[256] = {};
};
ViewerWindow& viewer_window();

}  // namespace vell
