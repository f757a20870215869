// The keys of find: Ctrl+F opens the find dialog, F3 and Shift+F3 search
// again forwards and backwards, anywhere in the viewer window or the find
// dialog; and the find dialog's own keys (Tab, Enter, Esc), which the
// viewer window's modal loop would not give it. A message hook of the GUI
// thread sees each message as it leaves the queue; the keys it takes
// become find commands posted to the viewer window.
#include "viewer/find_search.h"
#include "viewer/find_win.h"
#include "viewer/page_image_win.h"

namespace vell {

namespace {

struct FindKeys {
    HHOOK hook = nullptr;
    HWND viewer = nullptr;
};

FindKeys& find_keys() {
    static FindKeys keys;
    return keys;
}

bool inside(HWND window, HWND message_window) {
    return window && message_window && (window == message_window || IsChild(window, message_window));
}

// The command a key asks for, or 0.
int command_for_key(const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return 0;
    if (msg.wParam == 'F' && GetKeyState(VK_CONTROL) < 0) return find_ids::kOpen;
    if (msg.wParam == VK_F3)
        return GetKeyState(VK_SHIFT) < 0 ? find_ids::kPrevious : find_ids::kNext;
    return 0;
}

// True when the message is taken: it then becomes WM_NULL.
bool take_message(MSG& msg) {
    const FindKeys& keys = find_keys();
    // A search takes the keyboard itself (Esc stops it).
    if (find_running()) return false;
    HWND dialog = find_dialog();
    const bool in_dialog = inside(dialog, msg.hwnd);
    if (!in_dialog && !inside(keys.viewer, msg.hwnd)) return false;
    if (const int command = command_for_key(msg)) {
        PostMessageA(keys.viewer, WM_COMMAND, WPARAM(command), 0);
        return true;
    }
    return in_dialog && IsDialogMessageA(dialog, &msg);
}

LRESULT CALLBACK on_get_message(int code, WPARAM removal, LPARAM lparam) {
    if (code == HC_ACTION && removal == PM_REMOVE) {
        MSG* msg = reinterpret_cast<MSG*>(lparam);
        if (msg && take_message(*msg)) {
            msg->message = WM_NULL;
            msg->wParam = 0;
            msg->lParam = 0;
        }
    }
    return CallNextHookEx(find_keys().hook, code, removal, lparam);
}

}  // namespace

void plug_find(HWND viewer) {
    FindKeys& keys = find_keys();
    keys.viewer = viewer;
    if (!keys.hook)
        keys.hook = SetWindowsHookExA(WH_GETMESSAGE, on_get_message, nullptr, GetCurrentThreadId());
    set_page_overlay(draw_find_mark);
}

void unplug_find() {
    FindKeys& keys = find_keys();
    if (keys.hook) UnhookWindowsHookEx(keys.hook);
    keys = FindKeys{};
    set_page_overlay(nullptr);
    find_state().has_match = false;
}

bool on_find_command(int id) {
    if (id != find_ids::kOpen && id != find_ids::kNext && id != find_ids::kPrevious) return false;
    // A modal dialog of the viewer (jump, print, a message) is open: find
    // waits until it has gone.
    if (!IsWindowEnabled(find_keys().viewer)) return true;
    switch (id) {
    case find_ids::kOpen: open_find_dialog(find_keys().viewer); return true;
    case find_ids::kNext:
    case find_ids::kPrevious: {
        take_find_dialog_fields();
        // F3 before anything was asked for opens the dialog instead.
        if (find_state().text.empty()) {
            open_find_dialog(find_keys().viewer);
            return true;
        }
        run_find(id == find_ids::kNext);
        return true;
    }
    default: return false;
    }
}

}  // namespace vell
