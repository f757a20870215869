// The page area on Windows: fitting it and its scroll bars to the page at
// the zoom the zoom box chooses (the renderer's fit hook), scrolling, click
// zoom and the magnifier cursor. Windows only.
#pragma once

#include <windows.h>

#include <string>

namespace vell {

// The render hook: applies the zoom box (zoom factor and box text), then
// sizes and places the page area and the scroll bars. Called by render a
// page on the screen path, after page geometry and before drawing.
void fit_page_area_to_page();

// The zoom box's text as the last fit applied it ("Fit Width", "75%"):
// what a cancelled edit of the box puts back.
const std::string& applied_zoom_box_text();

// WM_HSCROLL (horizontal true) and WM_VSCROLL: moves the bar and copies the
// page image again; never renders.
void on_scroll(bool horizontal, WPARAM wparam);

// A left click (press and release within the drag distance, selection_win.h;
// zoom_in) and WM_RBUTTONDOWN: click zoom inside the page
// area.
void on_click_zoom(LPARAM position, bool zoom_in);

// WM_SETCURSOR: the magnifier over the page area. Returns whether it set
// it; elsewhere the dialog manager shows the class's cursor (the arrow).
// The class cursor itself is never changed: every dialog of the process
// (jump dialog, message boxes) shares the class.
bool on_set_cursor(WPARAM under_cursor, LPARAM hit);

}  // namespace vell
