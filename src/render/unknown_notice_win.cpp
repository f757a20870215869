#include "render/unknown_notice.h"

#include "viewer/message_box.h"

namespace vell {

void show_notice_platform(const std::string& text) { show_message(text); }

}  // namespace vell
