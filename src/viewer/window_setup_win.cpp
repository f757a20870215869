#include "viewer/window_setup_win.h"

#include <commctrl.h>

#include "document/document.h"
#include "document/format.h"
#include "print/print_hooks.h"
#include "render/interpreter.h"
#include "startup/startup_win.h"
#include "ui_text/labels.h"
#include "ui_text/message_box.h"
#include "ui_text/window_text_win.h"
#include "viewer/building_win.h"
#include "viewer/menu_win.h"
#include "viewer/navigation.h"
#include "viewer/page_area_win.h"
#include "viewer/page_image_win.h"
#include "viewer/status_bar_win.h"
#include "viewer/toolbar_win.h"
#include "viewer/viewer_window_win.h"
#include "viewer/window_contents.h"
#include "viewer/window_ids.h"
#include "viewer/window_refresh_win.h"

namespace vell {

namespace {

// Printing from the window: the print dialog is owned by it and the job's
// progress ("3 of 12") shows in its status bar. The job drains no messages,
// so the status bar is painted at once.
void show_print_status(const std::string& text) {
    HWND status_bar = viewer_window().status_bar;
    set_window_text(status_bar, text);
    UpdateWindow(status_bar);
}

void restore_status_after_printing() { refresh_window(kRefreshStatus); }

void plug_print_hooks(HWND window) {
    PrintHooks& hooks = print_hooks();
    hooks.main_window = window;
    hooks.set_status_text = show_print_status;
    hooks.refresh_status = restore_status_after_printing;
}

void show_cursor(LPCSTR which) { SetCursor(LoadCursorA(nullptr, which)); }

void set_icon(HWND window, HINSTANCE instance) {
    HICON icon = LoadIconA(instance, ids::kIcon);
    if (icon) SetClassLongPtrA(window, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
}

void find_controls(HWND window) {
    ViewerWindow& w = viewer_window();
    w.zoom_label = GetDlgItem(window, ids::kZoomLabel);
    w.zoom_box = GetDlgItem(window, ids::kZoomBox);
    w.index_box = GetDlgItem(window, ids::kIndexBox);
    if (the_document().building && w.index_box) ShowWindow(w.index_box, SW_HIDE);
    w.page_area = GetDlgItem(window, ids::kPageArea);
    w.vertical_bar = GetDlgItem(window, ids::kVerticalBar);
    w.horizontal_bar = GetDlgItem(window, ids::kHorizontalBar);
}

// The zoom label and the two boxes move onto the toolbar, keeping their
// template positions, now relative to the toolbar.
void put_on_toolbar(HWND control, HWND toolbar) {
    if (!control) return;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(viewer_resources().ui_font), FALSE);
    SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (toolbar) SetParent(control, toolbar);
}

void fill_zoom_box() {
    HWND box = viewer_window().zoom_box;
    if (!box) return;
    for (const std::string& entry : zoom_box_entries())
        SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
}

void select_initial_zoom() {
    const int entry = initial_zoom_entry(header_i32(the_document(), hdr::kInitialZoom));
    SendMessageA(viewer_window().zoom_box, CB_SETCURSEL, WPARAM(entry), 0);
}

void reset_scroll_bar(HWND bar) {
    if (!bar) return;
    SetScrollRange(bar, SB_CTL, 0, 100, FALSE);
    SetScrollPos(bar, SB_CTL, 0, FALSE);
}

void make_page_image() {
    const ViewerWindow& w = viewer_window();
    PageImageWindows windows;
    windows.viewer = w.window;
    windows.page_area = w.page_area;
    windows.horizontal_bar = w.horizontal_bar;
    windows.vertical_bar = w.vertical_bar;
    create_page_image(windows);
}

}  // namespace

void set_up_window(HWND window) {
    const HINSTANCE instance = startup_state().instance;
    ViewerWindow& w = viewer_window();
    announce_viewer_window(window);
    show_cursor(IDC_WAIT);
    w.window = window;
    set_message_box_owner(window);
    plug_print_hooks(window);
    set_window_text(window, document_title(the_document()));
    set_icon(window, instance);

    w.toolbar = create_toolbar(window, instance, the_document());
    w.status_bar = create_status_bar(window, instance, &w.progress_bar);
    find_controls(window);

    set_window_text(w.zoom_label, window_label(10));
    put_on_toolbar(w.zoom_label, w.toolbar);
    put_on_toolbar(w.zoom_box, w.toolbar);
    put_on_toolbar(w.index_box, w.toolbar);
    plug_label_effects();
    render_hooks().fit_page_area = fit_page_area_to_page;

    fill_zoom_box();
    fill_index_box();
    select_initial_zoom();
    reset_scroll_bar(w.vertical_bar);
    reset_scroll_bar(w.horizontal_bar);
    attach_menu(window);
    make_page_image();

    sync_page_count();
    refresh_window(kRefreshStatus | kRefreshToolbar);
    // The WM_SIZE of the maximised window draws the first page, once: the
    // viewer's own message loop shows the window no other way.
    ShowWindow(window, SW_SHOWMAXIMIZED);
    show_cursor(IDC_ARROW);
}

void lay_out_window(WPARAM size_type, LPARAM client_size) {
    ViewerWindow& w = viewer_window();
    // Sizes that come before set-up has made the parts, minimising and a
    // size the window already has change nothing.
    if (size_type == SIZE_MINIMIZED || !w.status_bar) return;
    if (w.laid_out && w.laid_out_size == client_size) return;
    w.laid_out = true;
    w.laid_out_size = client_size;
    place_status_bar(w.status_bar, LOWORD(client_size), HIWORD(client_size));
    if (w.toolbar) SendMessageA(w.toolbar, TB_AUTOSIZE, 0, 0);
    redraw_page();
}

void close_window(HWND window) {
    release_page_image();
    unload_page(the_document());
    announce_viewer_closed();
    // The window goes out of sight now; the viewer's loop destroys it.
    ShowWindow(window, SW_HIDE);
    viewer_window().closed = true;
}

}  // namespace vell
