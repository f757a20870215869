// What the print job reaches outside itself: the viewer window, when there
// is one, and its status bar.
//
// Printing from the command line (/P, /PA) runs with no viewer window; the
// window sets these hooks when it opens and clears them when it closes, so
// the job never needs to know whether a window exists.
#pragma once

#include <string>

namespace vell {

struct PrintHooks {
    // The viewer window (an HWND), owner of the print dialog and of the
    // printer's settings queries; null when there is none.
    void* main_window = nullptr;
    // Shows a text in the status bar ("3 of 12" while printing); null: the
    // text goes nowhere. The job drains no messages while it prints, so
    // the status bar must be painted here (UpdateWindow) to be seen.
    void (*set_status_text)(const std::string& text) = nullptr;
    // Puts the status bar back to its usual content after the job.
    void (*refresh_status)() = nullptr;
};
PrintHooks& print_hooks();

}  // namespace vell
