// Texts set on windows and menu items are trimmed of blanks and cut at 199
// characters (the window-text and menu-text operations).
#pragma once

#include <cstddef>
#include <string>

namespace vell {

constexpr size_t kWindowTextLimit = 199;

// The text as a window or menu item shows it.
std::string window_text_value(const std::string& text);

}  // namespace vell
