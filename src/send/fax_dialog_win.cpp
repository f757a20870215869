// The fax dialog: a sorted list of recipients shown as name@number, Add and
// Remove, the subject and note, Send Fax and Cancel.
#include "send/fax_dialog.h"

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "document/document.h"
#include "document/text.h"
#include "send/fax_recipients.h"
#include "send/mail_message.h"
#include "send/send_rules.h"
#include "startup/startup_win.h"
#include "ui_text/message_box.h"

extern "C" __declspec(dllexport) INT_PTR CALLBACK FAXDLGPROC(HWND window, UINT message,
                                                             WPARAM wparam, LPARAM lparam);

namespace vell {

namespace {

// The dialog's state for the process: its result (0 after Cancel, 1 after
// Send Fax) and the settings the open dialog reads and rewrites.
struct FaxDialogState {
    int result = 0;
    FaxSettings* fax = nullptr;
};

FaxDialogState& fax_dialog_state() {
    static FaxDialogState state;
    return state;
}

std::string control_text(HWND window, int id, size_t limit) {
    std::vector<char> buffer(limit + 1, '\0');
    GetDlgItemTextA(window, id, buffer.data(), int(buffer.size()));
    return std::string(buffer.data());
}

void set_control_text(HWND window, int id, const std::string& text, size_t limit) {
    std::vector<char> buffer(limit + 1, '\0');
    copy_to_buffer(buffer.data(), buffer.size(), text);
    SetDlgItemTextA(window, id, buffer.data());
}

void add_list_entry(HWND window, const std::string& entry) {
    char buffer[kFaxListEntryLimit + 1];
    copy_to_buffer(buffer, sizeof buffer, entry);
    SendDlgItemMessageA(window, kFaxList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(buffer));
}

std::vector<std::string> list_entries(HWND window) {
    std::vector<std::string> entries;
    const LRESULT count = SendDlgItemMessageA(window, kFaxList, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendDlgItemMessageA(window, kFaxList, LB_GETTEXTLEN, WPARAM(i), 0);
        if (length < 0) continue;
        std::vector<char> buffer(size_t(length) + 1, '\0');
        SendDlgItemMessageA(window, kFaxList, LB_GETTEXT, WPARAM(i),
                            reinterpret_cast<LPARAM>(buffer.data()));
        buffer.back() = '\0';
        entries.emplace_back(buffer.data());
    }
    return entries;
}

void focus_control(HWND window, int id) { SetFocus(GetDlgItem(window, id)); }

void on_init(HWND window) {
    FaxDialogState& state = fax_dialog_state();
    set_message_box_owner(window);
    // A fresh start for every opening: closing the window by its frame
    // then counts as Cancel, never as the Send Fax of an earlier fax.
    state.result = 0;
    if (!state.fax) {
        EndDialog(window, 0);
        return;
    }
    const FaxSettings& fax = *state.fax;
    for (const std::string& entry : fax_dialog_entries(fax.recipients)) add_list_entry(window, entry);
    SendDlgItemMessageA(window, kFaxName, EM_LIMITTEXT, kFaxFieldLimit, 0);
    SendDlgItemMessageA(window, kFaxNumber, EM_LIMITTEXT, kFaxFieldLimit, 0);
    if (!trim(fax.subject).empty()) set_control_text(window, kFaxSubject, fax.subject, kSubjectLimit);
    if (!trim(fax.text).empty()) set_control_text(window, kFaxNote, fax.text, kNoteLimit);
    focus_control(window, kFaxName);
}

void on_add(HWND window) {
    const std::string name = control_text(window, kFaxName, kFaxFieldLimit);
    const std::string number = control_text(window, kFaxNumber, kFaxFieldLimit);
    const std::string entry = fax_list_entry(name, number);
    if (!entry.empty()) {
        add_list_entry(window, entry);
        return;
    }
    show_message(kFaxNeedsNameAndNumberMessage);
    focus_control(window, trim(name).empty() ? kFaxName : kFaxNumber);
}

void on_remove(HWND window) {
    const LRESULT selected = SendDlgItemMessageA(window, kFaxList, LB_GETCURSEL, 0, 0);
    if (selected != LB_ERR) SendDlgItemMessageA(window, kFaxList, LB_DELETESTRING, WPARAM(selected), 0);
}

// The recipients come back in list order, which the sorted list makes
// alphabetical; the subject and note as the user left them.
void on_send(HWND window) {
    const std::vector<std::string> entries = list_entries(window);
    if (entries.empty()) {
        show_message(kFaxNeedsRecipientMessage);
        focus_control(window, kFaxName);
        return;
    }
    FaxDialogState& state = fax_dialog_state();
    state.fax->recipients = fax_recipients_from_list(entries);
    state.fax->subject = control_text(window, kFaxSubject, kSubjectLimit);
    state.fax->text = control_text(window, kFaxNote, kNoteLimit);
    state.result = 1;
    SendMessageA(window, WM_CLOSE, 0, 0);
}

void on_cancel(HWND window) {
    fax_dialog_state().result = 0;
    SendMessageA(window, WM_CLOSE, 0, 0);
}

void on_command(HWND window, int id) {
    switch (id) {
    case kFaxAdd:
        on_add(window);
        break;
    case kFaxRemove:
        on_remove(window);
        break;
    case kFaxSend:
        on_send(window);
        break;
    case kFaxCancel:
    case IDCANCEL:
        on_cancel(window);
        break;
    default:
        break;
    }
}

void handle_message(HWND window, UINT message, WPARAM wparam) {
    switch (message) {
    case WM_INITDIALOG:
        on_init(window);
        break;
    case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED) on_command(window, LOWORD(wparam));
        break;
    case WM_CLOSE:
        EndDialog(window, fax_dialog_state().result);
        break;
    default:
        break;
    }
}

}  // namespace

bool run_fax_dialog(FaxSettings& fax) {
    FaxDialogState& state = fax_dialog_state();
    state.fax = &fax;
    void* const owner = message_box_owner();
    const INT_PTR result = DialogBoxParamA(startup_state().instance, "DLG_FAX",
                                           static_cast<HWND>(owner), FAXDLGPROC, 0);
    // Messages belong to the window they belonged to before again.
    set_message_box_owner(owner);
    state.fax = nullptr;
    return result == 1;
}

}  // namespace vell

// The dialog procedure, exported from vell.exe under its own name. It
// returns 0 for every message, and no exception leaves it: a failure to
// allocate ends the dialog as a Cancel would.
extern "C" __declspec(dllexport) INT_PTR CALLBACK FAXDLGPROC(HWND window, UINT message,
                                                             WPARAM wparam, LPARAM) {
    try {
        vell::handle_message(window, message, wparam);
    } catch (const std::exception&) {
        vell::fax_dialog_state().result = 0;
        EndDialog(window, 0);
    }
    return 0;
}
