// The password dialog: DLG_PASSWORD run by PASSWORDDLGPROC, owned by no
// window, three tries.
#include "document/password.h"

#include <windows.h>

#include <string>

#include "document/document.h"
#include "document/password_check.h"
#include "ui_text/labels.h"
#include "ui_text/message_box.h"
#include "ui_text/window_text_win.h"

extern "C" __declspec(dllexport) INT_PTR CALLBACK PASSWORDDLGPROC(HWND dialog, UINT message,
                                                                  WPARAM wparam, LPARAM lparam);

namespace vell {

namespace {

constexpr char kTemplate[] = "DLG_PASSWORD";

namespace password_ids {
constexpr int kPasswordEdit = 101;
constexpr int kOk = 102;
constexpr int kCancel = 103;
constexpr int kPrompt = 104;
}  // namespace password_ids

// The tries and the verdict of the dialog now open.
PasswordPrompt& prompt() {
    static PasswordPrompt state;
    return state;
}

void init_password_dialog(HWND dialog) {
    set_window_text(dialog, window_label(20));
    set_window_text(GetDlgItem(dialog, password_ids::kOk), window_label(19));
    set_window_text(GetDlgItem(dialog, password_ids::kCancel), window_label(18));
    set_window_text(GetDlgItem(dialog, password_ids::kPrompt), window_label(21));
    // Room for the longest password, 20 characters, and no more.
    HWND edit = GetDlgItem(dialog, password_ids::kPasswordEdit);
    SendMessageA(edit, EM_LIMITTEXT, kPasswordEntryLimit, 0);
    SetWindowTextA(edit, "");
    SetFocus(edit);
}

void check_password(HWND dialog) {
    char typed[kPasswordEntryLimit + 1] = {};
    GetDlgItemTextA(dialog, password_ids::kPasswordEdit, typed, sizeof typed);
    const PasswordStep step = submit_password(prompt(), the_document(), typed);
    if (step.message_label != 0) show_message(window_label(step.message_label));
    if (step.close) {
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        return;
    }
    // A refused entry is selected, so the next try replaces it instead of
    // adding to it.
    HWND edit = GetDlgItem(dialog, password_ids::kPasswordEdit);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
}

void on_command(HWND dialog, int id) {
    switch (id) {
    case password_ids::kOk:
        check_password(dialog);
        break;
    case password_ids::kCancel:
    case IDCANCEL:
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
}

}  // namespace

bool ask_for_password() {
    prompt() = PasswordPrompt();
    DialogBoxParamA(GetModuleHandleA(nullptr), kTemplate, nullptr, PASSWORDDLGPROC, 0);
    return prompt().accepted;
}

}  // namespace vell

INT_PTR CALLBACK PASSWORDDLGPROC(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    // Nothing may unwind into the dialog manager; should a text not be made
    // (out of memory), the dialog stays and the verdict is unchanged.
    try {
        switch (message) {
        case WM_INITDIALOG:
            vell::init_password_dialog(dialog);
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
