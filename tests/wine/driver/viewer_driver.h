// vtdriver's view of vell's viewer window: finding it, reading its parts
// and operating it from another process, as the viewer Wine tests need.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "driver.h"

namespace vtdriver {

// `vtdriver viewer ACTION ...`; the usage text lists the actions.
int cmd_viewer(const Args& args);
// `vtdriver make-viewer-doc KIND PATH`: the viewer tests' documents.
int cmd_make_viewer_doc(const Args& args);
// `vtdriver find ...`: the find cases' documents and checks (find_win.cpp).
int cmd_find(const Args& args);

// The screen's pixels inside rect as 0x00RRGGBB values, top row first
// (screen_colour_win.cpp).
std::vector<uint32_t> screen_pixels(const RECT& rect);

namespace viewer {

// The viewer window's parts, found by their control ids.
struct Parts {
    HWND window = nullptr;
    HWND toolbar = nullptr;       // 112
    HWND status_bar = nullptr;    // 111
    HWND progress_bar = nullptr;  // msctls_progress32 inside the status bar
    HWND zoom_label = nullptr;    // 106
    HWND zoom_box = nullptr;      // 107
    HWND index_box = nullptr;     // 113
    HWND page_area = nullptr;     // 108
    HWND vertical_bar = nullptr;  // 109
    HWND horizontal_bar = nullptr;  // 110
};

// Waits up to timeout seconds for a visible viewer window (a dialog with a
// page area and a status bar) and finds its parts.
bool find_viewer(double timeout, Parts* parts);

std::string class_name(HWND window);
// WM_GETTEXT across processes, with a timeout.
std::string text_of(HWND window);
// The items of a combo box, read with the wide messages (the ANSI ones come
// back one character long across processes under Wine).
std::vector<std::string> combo_items(HWND combo);
std::vector<HWND> descendants(HWND parent);
// SendMessageTimeout with the driver's timeout; the result, or -1.
LRESULT send(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Everything a test compares, as KEY=VALUE lines: caption, maximised,
// status text, progress bar, toolbar buttons, zoom label, zoom and index
// boxes, scroll bars, the page area's screen rectangle. (Menus cannot be
// read from another process under Wine: see the menu-keys action.)
std::vector<std::string> state_lines(const Parts& parts);

}  // namespace viewer
}  // namespace vtdriver
