#include "viewer/window_refresh_win.h"

#include <windows.h>

#include "document/document.h"
#include "ui_text/window_text_win.h"
#include "viewer/navigation.h"
#include "viewer/page_image_win.h"
#include "viewer/toolbar_win.h"
#include "viewer/viewer_window_win.h"
#include "viewer/window_ids.h"

namespace vell {

namespace {

void refresh_status() {
    set_window_text(viewer_window().status_bar,
                    navigation_status_text(navigation(), the_document()));
}

void refresh_toolbar() {
    HWND toolbar = viewer_window().toolbar;
    const ToolbarStates states = toolbar_states(navigation());
    enable_tool(toolbar, ids::kToolFirst, states.first);
    enable_tool(toolbar, ids::kToolPrevious, states.previous);
    enable_tool(toolbar, ids::kToolNext, states.next);
    enable_tool(toolbar, ids::kToolLast, states.last);
}

}  // namespace

void refresh_window(unsigned flags) {
    if (flags & kRefreshStatus) refresh_status();
    if (flags & kRefreshToolbar) refresh_toolbar();
    if (flags & kRefreshRedraw) redraw_page();
}

void sync_page_count() { navigation().page_count = page_count(the_document()); }

void fill_index_box() {
    const Document& doc = the_document();
    HWND box = viewer_window().index_box;
    if (doc.building || !box) return;
    const std::vector<std::string> items = index_box_items(doc.index);
    if (items.empty()) {
        ShowWindow(box, SW_HIDE);
        return;
    }
    SendMessageA(box, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items)
        SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(box, CB_SETCURSEL, 0, 0);
    ShowWindow(box, SW_SHOW);
}

void on_index_selection() {
    HWND box = viewer_window().index_box;
    const int item = int(SendMessageA(box, CB_GETCURSEL, 0, 0));
    const unsigned flags = select_index_item(navigation(), the_document().index, item);
    if (flags == kRefreshNone) return;
    refresh_window(flags);
    // The box is a way to jump, not a record of where one is.
    SendMessageA(box, CB_SETCURSEL, 0, 0);
}

}  // namespace vell
