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

std::string& status_notice() {
    static std::string notice;
    return notice;
}

void refresh_status() {
    set_window_text(viewer_window().status_bar,
                    status_with_notice(navigation_status_text(navigation(), the_document()),
                                       status_notice()));
}

// The item the index box rests on when no choice is being made in it.
int& resting_index_item() {
    static int item = 0;
    return item;
}

void rest_index_box_on(HWND box, int item) {
    SendMessageA(box, CB_SETCURSEL, WPARAM(item), 0);
    resting_index_item() = item;
}

void jump_to_chosen_entry(HWND box) {
    const int item = int(SendMessageA(box, CB_GETCURSEL, 0, 0));
    if (item == resting_index_item()) return;
    resting_index_item() = item;
    refresh_window(select_index_item(navigation(), the_document().index, item));
    // Only the keys of the focused box walk on from the entry chosen.
    if (GetFocus() != box) rest_index_box_on(box, 0);
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
    rest_index_box_on(box, 0);
    ShowWindow(box, SW_SHOW);
}

void on_index_box(int notification) {
    HWND box = viewer_window().index_box;
    if (!box) return;
    switch (notification) {
    case CBN_SELENDOK: jump_to_chosen_entry(box); break;
    case CBN_SELCHANGE:
        if (!SendMessageA(box, CB_GETDROPPEDSTATE, 0, 0)) jump_to_chosen_entry(box);
        break;
    // The box is a way to jump, not a record of where one is.
    case CBN_CLOSEUP:
    case CBN_KILLFOCUS: rest_index_box_on(box, 0); break;
    default: break;
    }
}

void show_status_notice(const std::string& notice) {
    status_notice() = notice;
    refresh_status();
    // A search drains no messages: the text shows now.
    if (viewer_window().status_bar) UpdateWindow(viewer_window().status_bar);
}

void drop_status_notice() {
    if (status_notice().empty()) return;
    status_notice().clear();
    refresh_status();
}

}  // namespace vell
