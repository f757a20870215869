#include "viewer/toolbar_win.h"

#include <vector>

#include "document/text.h"
#include "ui_text/labels.h"
#include "viewer/comforts_win.h"
#include "viewer/viewer_window_win.h"
#include "viewer/window_contents.h"
#include "viewer/window_ids.h"

namespace vell {

namespace {

constexpr int kImageCount = 10;

void add_buttons(HWND toolbar, const Document& doc) {
    std::vector<TBBUTTON> buttons;
    for (const ToolbarEntry& entry : toolbar_entries(doc)) {
        TBBUTTON button = {};
        button.iBitmap = entry.command_id ? entry.image : 0;
        button.idCommand = entry.command_id;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = entry.command_id ? BTNS_BUTTON : BTNS_SEP;
        buttons.push_back(button);
    }
    SendMessageA(toolbar, TB_ADDBUTTONSA, WPARAM(buttons.size()),
                 reinterpret_cast<LPARAM>(buttons.data()));
}

}  // namespace

HWND create_toolbar(HWND window, HINSTANCE instance, const Document& doc) {
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                   WS_CHILD | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT, 0, 0, 0, 0, window,
                                   reinterpret_cast<HMENU>(INT_PTR(ids::kToolbar)), instance,
                                   nullptr);
    if (!toolbar) return nullptr;
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // The image set drawn for the display's scale: bitmap 501's 20-pixel
    // images at 96 pixels per inch.
    const ToolbarImageSet images = toolbar_image_set(window_dpi(window));
    SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(images.size, images.size));

    ViewerResources& resources = viewer_resources();
    if (!resources.toolbar_bitmap)
        resources.toolbar_bitmap = CreateMappedBitmap(instance, images.bitmap_id, 0, nullptr, 0);
    if (resources.toolbar_bitmap) {
        TBADDBITMAP bitmap = {nullptr, reinterpret_cast<UINT_PTR>(resources.toolbar_bitmap)};
        SendMessageA(toolbar, TB_ADDBITMAP, kImageCount, reinterpret_cast<LPARAM>(&bitmap));
    }
    add_buttons(toolbar, doc);
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    ShowWindow(toolbar, SW_SHOW);
    return toolbar;
}

void enable_tool(HWND toolbar, int id, bool enabled) {
    SendMessageA(toolbar, TB_ENABLEBUTTON, WPARAM(id), MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

void answer_tooltip(HWND toolbar, NMHDR* notification) {
    const int id = int(notification->idFrom);
    const int label = tooltip_label(id);
    if (!label) return;
    const LRESULT state = SendMessageA(toolbar, TB_GETSTATE, WPARAM(id), 0);
    if (state == -1 || !(state & TBSTATE_ENABLED)) return;

    ViewerWindow& w = viewer_window();
    copy_to_buffer(w.tooltip, sizeof w.tooltip, window_label(label));
    // The tooltip asks in the character set it was told to use; both forms
    // point at the window's own copies.
    if (notification->code == TTN_NEEDTEXTA) {
        reinterpret_cast<NMTTDISPINFOA*>(notification)->lpszText = w.tooltip;
    } else if (notification->code == TTN_NEEDTEXTW) {
        MultiByteToWideChar(CP_ACP, 0, w.tooltip, -1, w.tooltip_wide,
                            int(sizeof w.tooltip_wide / sizeof w.tooltip_wide[0]));
        reinterpret_cast<NMTTDISPINFOW*>(notification)->lpszText = w.tooltip_wide;
    }
}

}  // namespace vell
