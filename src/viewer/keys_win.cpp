// The viewer's keys wherever the focus is: a thread message hook sees each
// key before the dialog manager and the focused control do, and turns the
// viewer's keys into one message to the viewer window, which runs them
// through the existing operations. The wheel is sent on to the viewer
// window the same way, so a focused combo box does not take it.
#include <windows.h>

#include "document/document.h"
#include "viewer/cancel_win.h"
#include "viewer/comforts_win.h"
#include "viewer/commands_win.h"
#include "viewer/keys.h"
#include "viewer/page_area_win.h"
#include "viewer/page_image_win.h"
#include "viewer/selection_win.h"
#include "viewer/viewer_window_win.h"
#include "viewer/wheel.h"
#include "viewer/window_contents.h"
#include "viewer/window_ids.h"
#include "viewer/zoom.h"

#ifndef WM_MOUSEHWHEEL
#define WM_MOUSEHWHEEL 0x020E
#endif

namespace vell {

namespace {

HHOOK& keyboard_hook() {
    static HHOOK hook = nullptr;
    return hook;
}

bool pressed(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// The combo box a window belongs to (the box itself or its edit field).
HWND combo_of(HWND window) {
    char name[32] = {};
    for (HWND w = window; w; w = GetParent(w)) {
        if (GetClassNameA(w, name, sizeof name) && lstrcmpiA(name, "ComboBox") == 0) return w;
        if (GetWindowLongPtrA(w, GWL_STYLE) & WS_CHILD) continue;
        break;
    }
    return nullptr;
}

KeyFocus focus_kind() {
    HWND combo = combo_of(GetFocus());
    if (!combo) return KeyFocus::kViewer;
    if (SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0)) return KeyFocus::kDroppedList;
    if (combo == viewer_window().zoom_box) return KeyFocus::kZoomEdit;
    return combo == viewer_window().index_box ? KeyFocus::kIndexBox : KeyFocus::kViewer;
}

// Messages for the viewer window or one of its controls, while no dialog
// of its own and no menu is open: a modal dialog disables the viewer, a
// message box or the print dialog is a window of its own.
bool for_viewer(const MSG& msg) {
    HWND viewer = viewer_window().window;
    if (!viewer || !msg.hwnd || !IsWindowEnabled(viewer)) return false;
    if (GetAncestor(msg.hwnd, GA_ROOT) != viewer) return false;
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    if (GetGUIThreadInfo(GetCurrentThreadId(), &thread) &&
        (thread.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE)))
        return false;
    return true;
}

void take_key(MSG& msg) {
    KeyPress press;
    press.key = int(msg.wParam);
    press.ctrl = pressed(VK_CONTROL);
    press.shift = pressed(VK_SHIFT);
    // Alt is down when the system key message says so (bit 29).
    press.alt = (msg.lParam & (1 << 29)) != 0;
    const KeyAction action = key_action(press, focus_kind());
    if (action == KeyAction::kNone) return;
    msg.hwnd = viewer_window().window;
    msg.message = kKeyActionMessage;
    msg.wParam = WPARAM(action);
    msg.lParam = 0;
}

LRESULT CALLBACK on_message_taken(int code, WPARAM removal, LPARAM lparam) {
    if (code == HC_ACTION && removal == PM_REMOVE) {
        MSG& msg = *reinterpret_cast<MSG*>(lparam);
        const bool key = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
        const bool wheel = msg.message == WM_MOUSEWHEEL || msg.message == WM_MOUSEHWHEEL;
        if ((key || wheel) && for_viewer(msg)) {
            if (key) take_key(msg);
            else if (focus_kind() != KeyFocus::kDroppedList) msg.hwnd = viewer_window().window;
        }
    }
    return CallNextHookEx(keyboard_hook(), code, removal, lparam);
}

// Save by key only where the menu offers it: while building the command is
// there and answers with its message; once complete, only when the menu
// kept it.
bool save_offered() {
    const Document& doc = the_document();
    if (doc.building) return true;
    for (int command : pruned_menu_commands(doc))
        if (command == ids::kMenuSave) return false;
    return true;
}

void home_or_end(HWND window, bool home) {
    HWND bar = viewer_window().vertical_bar;
    if (bar && IsWindowVisible(bar)) {
        on_scroll(false, MAKEWPARAM(SB_THUMBTRACK, home ? kScrollMin : kScrollMax));
        return;
    }
    on_command(window, home ? ids::kMenuFirst : ids::kMenuLast, 0);
}

// PgDn and Space: the page area's height less a line, flipping pages at
// the ends.
void move_by_screen(HWND window, int direction) {
    const ScrollSteps steps = current_scroll_steps(false);
    move_page_vertically(window, scroll_positions_for(steps, direction * steps.screen_pixels));
}

// The arrows: a line of text, within the page.
void scroll_by_line(bool horizontal, int direction) {
    const ScrollSteps steps = current_scroll_steps(horizontal);
    scroll_shown_bar(horizontal, scroll_positions_for(steps, direction * steps.line_pixels));
}

void apply_zoom_box() {
    redraw_page();
    // The typed value stays selected, so the next one replaces it.
    HWND box = viewer_window().zoom_box;
    if (box) SendMessageA(box, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

}  // namespace

void start_keyboard_hook() {
    stop_keyboard_hook();
    keyboard_hook() = SetWindowsHookExA(WH_GETMESSAGE, on_message_taken, nullptr, GetCurrentThreadId());
}

void stop_keyboard_hook() {
    if (keyboard_hook()) UnhookWindowsHookEx(keyboard_hook());
    keyboard_hook() = nullptr;
}

void on_key_action(HWND window, WPARAM action) {
    switch (KeyAction(action)) {
    case KeyAction::kScreenDown: move_by_screen(window, 1); break;
    case KeyAction::kScreenUp: move_by_screen(window, -1); break;
    case KeyAction::kLineDown: scroll_by_line(false, 1); break;
    case KeyAction::kLineUp: scroll_by_line(false, -1); break;
    case KeyAction::kLineLeft: scroll_by_line(true, -1); break;
    case KeyAction::kLineRight: scroll_by_line(true, 1); break;
    case KeyAction::kHome: home_or_end(window, true); break;
    case KeyAction::kEnd: home_or_end(window, false); break;
    case KeyAction::kFirstPage: on_command(window, ids::kMenuFirst, 0); break;
    case KeyAction::kLastPage: on_command(window, ids::kMenuLast, 0); break;
    case KeyAction::kPrint: on_command(window, ids::kMenuPrint, 0); break;
    case KeyAction::kSave:
        if (save_offered()) on_command(window, ids::kMenuSave, 0);
        break;
    case KeyAction::kJump: on_command(window, ids::kMenuJump, 0); break;
    case KeyAction::kZoomIn: zoom_by_steps(1, page_area_centre()); break;
    case KeyAction::kZoomOut: zoom_by_steps(-1, page_area_centre()); break;
    case KeyAction::kZoom100: zoom_to_percent(kZoomDefaultPercent, page_area_centre()); break;
    case KeyAction::kCancel: cancel_or_close(window); break;
    case KeyAction::kCopy: copy_selection(window); break;
    case KeyAction::kSelectAll: select_whole_page(); break;
    case KeyAction::kOpen: open_other_document(window); break;
    case KeyAction::kApplyZoomBox: apply_zoom_box(); break;
    case KeyAction::kNone: break;
    }
}

}  // namespace vell
