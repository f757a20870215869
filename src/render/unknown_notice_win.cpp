#include "render/unknown_notice.h"

#include <utility>

#include "ui_text/message_box.h"

namespace vell {

void show_notice_platform(const std::string& text) {
    // Notices told during one render are shown together, one after another.
    std::string& pending = unknown_notice_state().pending;
    pending = pending.empty() ? text : pending + "\r\r" + text;
}

void show_pending_notice() {
    std::string text;
    std::swap(text, unknown_notice_state().pending);
    // Forgotten before it is shown: whatever the message box's loop runs
    // meanwhile (a redraw) finds nothing to show again.
    if (!text.empty()) show_whole_message(text);
}

}  // namespace vell
