// The jump dialog: DLG_JUMP run by JUMPDLGPROC, owned by the viewer window.
#include "viewer/jump_dialog_win.h"

#include <string>

#include "ui_text/labels.h"
#include "ui_text/window_text_win.h"
#include "viewer/navigation.h"

namespace vell {

namespace {

constexpr char kTemplate[] = "DLG_JUMP";

void set_item_text(HWND dialog, int id, const std::string& text) {
    set_window_text(GetDlgItem(dialog, id), text);
}

void init_jump_dialog(HWND dialog) {
    set_item_text(dialog, jump_ids::kPrompt, jump_prompt(navigation().page_count));
    set_window_text(dialog, window_label(16));
    set_item_text(dialog, jump_ids::kCancel, window_label(18));
    set_item_text(dialog, jump_ids::kOk, window_label(19));
    // The edit keeps its "1", selected so that typing a number replaces it.
    HWND edit = GetDlgItem(dialog, jump_ids::kPageEdit);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
}

// Ok: a page in 1..page count becomes current and the dialog closes;
// anything else is ignored and the dialog stays.
void accept_page(HWND dialog) {
    char text[kJumpInputLimit + 1] = {};
    GetDlgItemTextA(dialog, jump_ids::kPageEdit, text, sizeof text);
    Navigation& nav = navigation();
    int16_t page = 0;
    if (!parse_jump_page(text, nav.page_count, &page)) return;
    nav.current_page = page;
    SendMessageA(dialog, WM_CLOSE, 0, 0);
}

void on_command(HWND dialog, int id) {
    switch (id) {
    case jump_ids::kOk:
        accept_page(dialog);
        break;
    case jump_ids::kCancel:
    case IDCANCEL:
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
}

}  // namespace

unsigned run_jump_dialog(HWND owner) {
    Navigation& nav = navigation();
    const int16_t before = nav.current_page;
    DialogBoxParamA(GetModuleHandleA(nullptr), kTemplate, owner, JUMPDLGPROC, 0);
    return finish_jump(nav, before);
}

}  // namespace vell

INT_PTR CALLBACK JUMPDLGPROC(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    // Nothing may unwind into the dialog manager; a text that cannot be
    // made (out of memory) leaves the dialog as it is.
    try {
        switch (message) {
        case WM_INITDIALOG:
            vell::init_jump_dialog(dialog);
            break;
        case WM_COMMAND:
            vell::on_command(dialog, LOWORD(wparam));
            break;
        case WM_CLOSE:
            EndDialog(dialog, 0);
            break;
        default:
            break;
        }
    } catch (...) {
    }
    return 0;
}
