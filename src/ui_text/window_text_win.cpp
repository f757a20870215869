#include "ui_text/window_text_win.h"

#include "document/text.h"
#include "ui_text/window_text.h"

namespace vell {

void set_window_text(HWND window, const std::string& text) {
    char buffer[kWindowTextLimit + 1];
    copy_to_buffer(buffer, sizeof buffer, window_text_value(text));
    SetWindowTextA(window, buffer);
}

void set_menu_text(HMENU menu, UINT item, bool by_position, const std::string& text) {
    if (!menu) return;
    char buffer[kWindowTextLimit + 1];
    copy_to_buffer(buffer, sizeof buffer, window_text_value(text));
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_TYPE;
    info.fType = MFT_STRING;
    info.dwTypeData = buffer;
    SetMenuItemInfoA(menu, item, by_position ? TRUE : FALSE, &info);
}

}  // namespace vell
