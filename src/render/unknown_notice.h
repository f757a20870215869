// The notice for a page record the viewer does not know.
#pragma once

#include <string>

namespace vell {

// Where the user can get a newer viewer; named in the notice.
constexpr char kDownloadAddress[] = "https://www.vell.example/download";

// The notice, with single carriage returns as line breaks.
std::string unknown_opcode_notice(const std::string& download_address = kDownloadAddress);

// Tells the user a notice (the default notice hook of rendering). Rendering
// never shows anything itself: a message box runs a message loop of its
// own, which would hand the window's other messages (a redraw among them)
// to it in the middle of drawing. On Windows the notice is kept until the
// viewer has drawn and copied the page and calls show_pending_notice
// (unknown_notice_win.cpp); the host has no message box and drops it
// (unknown_notice_posix.cpp).
void show_notice_platform(const std::string& text);

// Shows the notice kept by show_notice_platform, if any, and forgets it.
// Called by the viewer once a page is on the screen, outside any render.
void show_pending_notice();

// Whether the notice has been shown for the document of this process: it
// is shown once, on the screen path, however often pages with unknown
// records are drawn. pending holds a notice told but not shown yet.
struct UnknownNoticeState {
    bool shown = false;
    std::string pending;
};
UnknownNoticeState& unknown_notice_state();

}  // namespace vell
