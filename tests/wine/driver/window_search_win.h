// Finding another process's windows by title. Windows only.
#pragma once

#include <windows.h>

#include <string>

namespace vtdriver {

// The visible top-level window with exactly this title, waited for up to
// timeout_seconds; null when none appeared (dialog_win.cpp).
HWND wait_for_visible_title(const std::string& title, double timeout_seconds);

}  // namespace vtdriver
