#include "ui_text/window_text.h"

#include "document/text.h"

namespace vell {

std::string window_text_value(const std::string& text) {
    return cut_text(trim(text), kWindowTextLimit);
}

}  // namespace vell
