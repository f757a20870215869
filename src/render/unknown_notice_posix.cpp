// The host has no message box: a notice shown there goes nowhere. Tests
// that want to see it install their own hook (render_hooks().show_notice).
#include "render/unknown_notice.h"

namespace vell {

void show_notice_platform(const std::string&) {}

void show_pending_notice() { unknown_notice_state().pending.clear(); }

}  // namespace vell
