// The viewer window: its resources, the modal run and MAINDLGPROC, which
// hands each message to the file that handles it.
#include "viewer/viewer.h"

#include <windows.h>

#include "print/print_hooks.h"
#include "render/gdi_surface_win.h"
#include "render/interpreter.h"
#include "startup/startup_win.h"
#include "ui_text/message_box.h"
#include "viewer/building_win.h"
#include "viewer/comforts_win.h"
#include "viewer/commands_win.h"
#include "viewer/find_win.h"
#include "viewer/menu_win.h"
#include "viewer/page_area_win.h"
#include "viewer/page_image_win.h"
#include "viewer/selection_win.h"
#include "viewer/toolbar_win.h"
#include "viewer/viewer_window_win.h"
#include "viewer/window_ids.h"
#include "viewer/window_refresh_win.h"
#include "viewer/window_setup_win.h"

extern "C" __declspec(dllexport) INT_PTR CALLBACK MAINDLGPROC(HWND window, UINT message,
                                                              WPARAM wparam, LPARAM lparam);

namespace vell {

namespace {

// The user doing something in the viewer window: a command (menu, toolbar,
// a box's choice, find), a scroll, a click, the wheel, a key. Focus moves
// and the building messages are none.
bool user_action(UINT message, WPARAM wparam) {
    switch (message) {
    case WM_COMMAND: {
        const int notification = HIWORD(wparam);
        return notification == 0 || notification == 1 || notification == CBN_SELENDOK ||
               notification == CBN_SELCHANGE;
    }
    case WM_HSCROLL: case WM_VSCROLL:
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
    case WM_MOUSEWHEEL: case kKeyActionMessage:
        return true;
    default:
        return false;
    }
}

void dispatch(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    // A notice in the status bar ("Not found") lasts until the next action.
    if (user_action(message, wparam)) drop_status_notice();
    switch (message) {
    case WM_COPYDATA: on_building_message(reinterpret_cast<const COPYDATASTRUCT*>(lparam)); break;
    case WM_INITDIALOG:
        set_up_window(window);
        plug_find(window);
        plug_selection(window);
        break;
    case WM_SIZE: lay_out_window(wparam, lparam); break;
    case WM_CLOSE: close_window(window); break;
    case WM_NOTIFY: {
        NMHDR* notification = reinterpret_cast<NMHDR*>(lparam);
        if (notification &&
            (notification->code == TTN_NEEDTEXTA || notification->code == TTN_NEEDTEXTW))
            answer_tooltip(viewer_window().toolbar, notification);
        break;
    }
    case WM_COMMAND:
        if (!on_find_command(LOWORD(wparam)) && !on_selection_command(window, LOWORD(wparam)))
            on_command(window, LOWORD(wparam), HIWORD(wparam));
        break;
    case WM_HSCROLL: on_scroll(true, wparam); break;
    case WM_VSCROLL: on_scroll(false, wparam); break;
    case WM_PAINT: paint_page_area(); break;
    // A left press selects by dragging or zooms in as a click
    // (selection_win.h); a double click is a second click.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_CAPTURECHANGED:
    case WM_TIMER:
    case WM_DROPFILES: on_selection_mouse(window, message, wparam, lparam); break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: on_click_zoom(lparam, false); break;
    default: break;
    }
    // The wheel, the keys and the display scale (comforts_win.h).
    after_viewer_message(window, message, wparam, lparam);
}

// What the window leaves behind when it has gone: no label effects, no fit
// hook, no owner for message boxes, no handles.
void forget_window() {
    unplug_selection();
    unplug_find();
    unplug_label_effects();
    render_hooks().fit_page_area = nullptr;
    set_message_box_owner(nullptr);
    print_hooks() = PrintHooks{};
    viewer_window() = ViewerWindow{};
    ViewerResources& resources = viewer_resources();
    // An attached menu was destroyed with the window.
    if (resources.menu_attached) resources.menu = nullptr;
    resources.menu_attached = false;
}

}  // namespace

ViewerResources& viewer_resources() {
    static ViewerResources resources;
    return resources;
}

ViewerWindow& viewer_window() {
    static ViewerWindow window;
    return window;
}

void create_viewer_resources() {
    const HINSTANCE instance = startup_state().instance;
    ViewerResources& r = viewer_resources();
    r.ui_font = create_screen_font("MS Sans Serif", 0, 9);
    r.magnifier = LoadCursorA(instance, ids::kMagnifierCursor);
    r.menu = LoadMenuA(instance, ids::kMainMenu);
    r.menu_attached = false;
}

void destroy_viewer_resources() {
    ViewerResources& r = viewer_resources();
    if (r.toolbar_bitmap) DeleteObject(r.toolbar_bitmap);
    if (r.magnifier) DestroyCursor(r.magnifier);
    if (r.ui_font) DeleteObject(r.ui_font);
    // A menu that no window took (a one-shot action ran instead) is ours.
    if (r.menu && !r.menu_attached) DestroyMenu(r.menu);
    r = ViewerResources{};
}

// The viewer runs modally with no owner, through a message loop of its
// own rather than DialogBoxParamA's: Wine's modal loop shows the dialog
// with SW_SHOWNORMAL when its queue first runs empty, which would restore
// the window that set-up has just shown maximised (and draw page 1 again).
// With no owner there is nothing to disable, so the loop is the whole
// difference; it ends when WM_CLOSE has marked the window closed.
void run_viewer_window() {
    HWND window =
        CreateDialogParamA(startup_state().instance, ids::kMainDialog, nullptr, MAINDLGPROC, 0);
    if (window) {
        MSG msg;
        while (!viewer_window().closed) {
            const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
            if (got == 0) {
                PostQuitMessage(int(msg.wParam));  // for whoever runs the next loop
                break;
            }
            if (got < 0) break;
            if (IsDialogMessageA(window, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        DestroyWindow(window);
    }
    forget_window();
}

}  // namespace vell

INT_PTR CALLBACK MAINDLGPROC(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    // Nothing may leave a window procedure by exception: an action that
    // fails that way (out of memory) is reported and the window goes on.
    try {
        // The one message whose answer matters: TRUE keeps the dialog
        // manager from putting the class cursor back over the magnifier.
        if (message == WM_SETCURSOR) {
            if (!vell::on_set_cursor(wparam, lparam)) return FALSE;
            SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        vell::dispatch(window, message, wparam, lparam);
    } catch (...) {
        vell::show_message("vell could not complete this action.");
    }
    return 0;
}
