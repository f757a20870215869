// Find in the viewer window: the find dialog, the keys that open it and
// search again, the search itself and the mark over the match. Windows only.
#pragma once

#include <windows.h>

#include "viewer/page_image.h"

namespace vell {

// Commands the find parts post to the viewer window, so that a search
// never runs inside a key hook or the find dialog's procedure.
namespace find_ids {
constexpr int kOpen = 791;      // Ctrl+F
constexpr int kNext = 792;      // F3, Enter and Next
constexpr int kPrevious = 793;  // Shift+F3 and Previous
}  // namespace find_ids

// Window set-up and close: the key hook (Ctrl+F, F3, Shift+F3, and the
// find dialog's own keys) and the mark drawn over the page area's copies.
void plug_find(HWND viewer);
void unplug_find();

// WM_COMMAND of the viewer window: true when id was a find command.
bool on_find_command(int id);

// The find dialog (find_dialog_win.cpp): opens it or brings it forward
// with its text selected; the dialog while it is open, else null.
// It opens beside the page's text, at the page area's top right.
void open_find_dialog(HWND viewer);
HWND find_dialog();
// F3 and Shift+F3 while the dialog is open: its text, Match case and Whole
// words become the find state first, as its buttons do.
void take_find_dialog_fields();
// After a match is shown: a dialog over the match moves off it.
void keep_find_dialog_off_match();

// Searches from the current page for the find state's text (find_run_win.cpp).
void run_find(bool forward);
// True while a search runs (its own loop takes the keys then).
bool find_running();

// The mark over the copy of the page image (find_mark_win.cpp): moves the
// bars so that the match shows.
void scroll_to_match();
void draw_find_mark(HDC target, const CopyInput& input, const CopyPlan& plan);

}  // namespace vell
