// Selecting and copying text in the viewer window, and opening another
// document: the mouse drag over the page area, the highlight drawn over its
// copies, Copy and Select All (Edit menu, Ctrl+C, Ctrl+A), and File > Open
// and dropped files, which start a viewer process of their own. Windows only.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "viewer/page_image.h"

namespace vell {

// Window set-up and close: the highlight over the page area's copies and
// the files dropped on the window.
void plug_selection(HWND viewer);
void unplug_selection();

// Mouse messages of the viewer window: a press in the page area, then
// either a drag beyond the system's drag distance, which selects, or a
// release within it, which is a click and zooms in. True when taken.
bool on_selection_mouse(HWND viewer, UINT message, WPARAM wparam, LPARAM lparam);

// WM_COMMAND of the viewer window: true when id was Open, Copy or Select All.
bool on_selection_command(HWND viewer, int id);

// Takes the selection away; true when there was one (Esc clears it before
// it does anything else).
bool clear_selection();

// Selects every text of the page shown; copies the selection to the
// clipboard as Unicode text, ANSI text and "HTML Format".
void select_whole_page();
void copy_selection(HWND viewer);

// Drawn over every copy of the page image into the page area.
void draw_selection(HDC target, const CopyInput& input, const CopyPlan& plan);

// ---- open_other_win.cpp --------------------------------------------------------

// False in a self-extracting viewer, which opens only the document it
// carries: it offers no Open and takes no dropped files.
bool can_open_other_documents();
// File > Open (Ctrl+O): the open dialog, owned by the viewer; the chosen
// document opens in a new viewer process.
void open_other_document(HWND viewer);
// WM_DROPFILES: each dropped file opens in a new viewer process.
void open_dropped_files(HDROP drop);

}  // namespace vell
