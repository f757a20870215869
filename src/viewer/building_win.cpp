#include "viewer/building_win.h"

#include <string>

#include "document/document.h"
#include "document/format.h"
#include "viewer/building_link.h"
#include "viewer/menu_win.h"
#include "viewer/navigation.h"
#include "viewer/status_bar_win.h"
#include "viewer/viewer_window_win.h"
#include "viewer/window_refresh_win.h"

namespace vell {

namespace {

HWND builder_window() {
    return reinterpret_cast<HWND>(
        builder_window_handle(header_i32(the_document(), hdr::kBuilderWindow)));
}

// Sends one message to the generator. A builder window that no longer
// exists (or never did) gets nothing: the generator has gone.
void send_to_builder(uintptr_t code, const std::string& text) {
    HWND builder = builder_window();
    if (!builder || !IsWindow(builder)) return;
    COPYDATASTRUCT data = {};
    data.dwData = code;
    data.cbData = DWORD(text.size() + 1);
    data.lpData = const_cast<char*>(text.c_str());
    SendMessageA(builder, WM_COPYDATA, WPARAM(0), reinterpret_cast<LPARAM>(&data));
}

void apply(const BuildingRefresh& r) {
    Navigation& nav = navigation();
    // A document that ends with no page at all leaves page 1 current, empty.
    nav.current_page = r.current_page < 1 ? int16_t(1) : r.current_page;
    sync_page_count();
    unsigned flags = kRefreshNone;
    if (r.status_and_toolbar) flags |= kRefreshStatus | kRefreshToolbar;
    if (r.redraw) flags |= kRefreshRedraw;
    if (r.finished) {
        hide_progress(viewer_window().progress_bar);
        prune_menu(viewer_window().window);
        fill_index_box();
    }
    refresh_window(flags);
}

void on_page_added_message(const std::string& text) {
    Document& doc = the_document();
    if (!doc.building) return;
    apply(on_page_added(doc, page_position_from_text(text), navigation().current_page));
}

void on_finished_message() {
    Document& doc = the_document();
    if (!doc.building) return;
    apply(on_building_finished(doc, navigation().current_page));
}

void on_progress_message(const std::string& text) {
    // The progress bar belongs to building; a complete document never shows it.
    if (!the_document().building) return;
    show_progress(viewer_window().progress_bar, progress_value(text));
}

}  // namespace

void announce_viewer_window(HWND window) {
    if (!the_document().building) return;
    send_to_builder(building::kViewerWindow,
                    window_handle_text(reinterpret_cast<uintptr_t>(window)));
}

void announce_viewer_closed() {
    if (!the_document().building) return;
    send_to_builder(building::kViewerClosed, building::kClosedText);
}

void on_building_message(const COPYDATASTRUCT* message) {
    if (!message) return;
    const std::string text = copydata_text(message->lpData, message->cbData);
    switch (message->dwData) {
    case building::kPageAdded: on_page_added_message(text); break;
    case building::kFinished: on_finished_message(); break;
    case building::kProgress: on_progress_message(text); break;
    default: break;
    }
}

}  // namespace vell
