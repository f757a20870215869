// The notice for a page record the viewer does not know.
#pragma once

#include <string>

namespace vell {

// Where the user can get a newer viewer; named in the notice.
constexpr char kDownloadAddress[] = "https://www.vell.example/download";

// The notice, with single carriage returns as line breaks.
std::string unknown_opcode_notice(const std::string& download_address = kDownloadAddress);

// Shows a notice to the user: the message box on Windows
// (unknown_notice_win.cpp); the host has no message box and drops it
// (unknown_notice_posix.cpp).
void show_notice_platform(const std::string& text);

// Whether the notice has been shown for the document of this process: it
// is shown once, on the screen path, however often pages with unknown
// records are drawn.
struct UnknownNoticeState {
    bool shown = false;
};
UnknownNoticeState& unknown_notice_state();

}  // namespace vell
