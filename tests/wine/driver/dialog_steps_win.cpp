// Operating a dialog of another process step by step: typing into its
// controls, clicking its buttons, choosing list entries, and reading which
// control has the focus and which window owns a message box.
//
//   dialog-steps --title T [--timeout S] ACTION...
//     set ID TEXT      WM_SETTEXT to the control ID
//     click ID         the button ID is clicked (BN_CLICKED to the dialog)
//     select ID INDEX  list box entry INDEX becomes the selection
//     command ID       posts the menu command ID to the window
//     settle           waits until the window's thread takes messages
//                      again (a command it is running has returned, or
//                      shows a modal window)
//     owner            prints owner=TITLE of the window's owner
//     buttons ID       prints buttons=N, the buttons of toolbar ID
//     focus            prints focus=ID of the control with the focus
//     msgbox-owner     waits for a message box and prints owner=TITLE
//                      of its owner window, without closing it
//     msgbox-click ID  waits for a message box (of any caption, such as a
//                      common dialog's question) and clicks its button ID
//
// A click that opens a message box does not return until the box is gone;
// the click waits a bounded time for it and leaves the box to "msgbox".
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "driver.h"
#include "report_win.h"

namespace vtdriver {

namespace {

constexpr DWORD kPollMs = 50;
constexpr UINT kSendTimeoutMs = 2000;
constexpr UINT kClickTimeoutMs = 800;
constexpr double kMessageBoxTimeoutSeconds = 20;

struct Search {
    std::wstring title;
    bool message_box = false;
    HWND found = nullptr;
};

std::wstring widen(const std::string& text) {
    int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(size_t(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &out[0], size);
    out.resize(out.size() - 1);
    return out;
}

bool is_message_box(HWND window) {
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    if (std::wstring(cls) != L"#32770") return false;
    if (!GetDlgItem(window, 0xFFFF)) return false;
    // Dialogs with labels of id 0xFFFF too, such as the common dialogs, have
    // something to type into or choose from; a message box has not.
    for (const wchar_t* kind : {L"Edit", L"ComboBox", L"ComboBoxEx32", L"ListBox", L"#32770"})
        if (FindWindowExW(window, nullptr, kind, nullptr)) return false;
    return true;
}

BOOL CALLBACK match_window(HWND window, LPARAM data) {
    Search* search = reinterpret_cast<Search*>(data);
    if (!IsWindowVisible(window)) return TRUE;
    if (search->message_box) {
        if (!is_message_box(window)) return TRUE;
    } else {
        wchar_t text[512] = {};
        GetWindowTextW(window, text, 512);
        if (search->title != text) return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND wait_for(Search search, double timeout_seconds) {
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(timeout_seconds * 1000);
    for (;;) {
        search.found = nullptr;
        EnumWindows(match_window, reinterpret_cast<LPARAM>(&search));
        if (search.found || GetTickCount64() >= deadline) return search.found;
        Sleep(kPollMs);
    }
}

// Waits until the dialog's thread has handled everything sent before.
void settle(HWND dialog) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
}

bool set_text(HWND dialog, int id, const std::string& text) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) return false;
    const std::wstring wide = widen(text);
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                               SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored) != 0;
}

bool click(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) return false;
    DWORD_PTR ignored = 0;
    // A time-out here is a message box opened by the click (or the dialog
    // closing): not a failure of the click.
    SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button), SMTO_NORMAL, kClickTimeoutMs, &ignored);
    return true;
}

bool select(HWND dialog, int id, int index) {
    HWND list = GetDlgItem(dialog, id);
    if (!list) return false;
    DWORD_PTR result = 0;
    SendMessageTimeoutW(list, LB_SETCURSEL, WPARAM(index), 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                        &result);
    return LONG_PTR(result) == index;
}

void print_focus(HWND dialog) {
    settle(dialog);
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    std::printf("focus=%d\n", info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0);
}

bool post_command(HWND window, int id) {
    return PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0) != 0;
}

std::string title_of(HWND window) {
    wchar_t title[512] = {};
    if (window) GetWindowTextW(window, title, 512);
    char narrow[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, title, -1, narrow, sizeof narrow, nullptr, nullptr);
    return window ? narrow : "(none)";
}

void print_owner(HWND window) {
    std::printf("owner=%s\n", title_of(GetWindow(window, GW_OWNER)).c_str());
}

bool print_toolbar_buttons(HWND window, int id) {
    HWND toolbar = GetDlgItem(window, id);
    if (!toolbar) return false;
    DWORD_PTR count = 0;
    SendMessageTimeoutW(toolbar, TB_BUTTONCOUNT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &count);
    std::printf("buttons=%lu\n", (unsigned long)count);
    return true;
}

HWND wait_for_message_box() {
    Search search;
    search.message_box = true;
    return wait_for(search, kMessageBoxTimeoutSeconds);
}

bool click_message_box(int id) {
    HWND box = wait_for_message_box();
    HWND button = box ? GetDlgItem(box, id) : nullptr;
    if (!button) return false;
    return PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button)) != 0;
}

bool print_message_box_owner() {
    HWND box = wait_for_message_box();
    if (!box) return false;
    print_owner(box);
    return true;
}

// Runs the actions from positional[at]; false with a message on the first
// that fails.
bool run_actions(HWND dialog, const std::vector<std::string>& p) {
    for (size_t i = 0; i < p.size(); ++i) {
        const std::string& action = p[i];
        const bool has1 = i + 1 < p.size(), has2 = i + 2 < p.size();
        bool ok;
        if (action == "set" && has2) {
            ok = set_text(dialog, std::atoi(p[i + 1].c_str()), p[i + 2]);
            i += 2;
        } else if (action == "click" && has1) {
            ok = click(dialog, std::atoi(p[++i].c_str()));
        } else if (action == "select" && has2) {
            ok = select(dialog, std::atoi(p[i + 1].c_str()), std::atoi(p[i + 2].c_str()));
            i += 2;
        } else if (action == "command" && has1) {
            ok = post_command(dialog, std::atoi(p[++i].c_str()));
        } else if (action == "settle") {
            settle(dialog);
            ok = true;
        } else if (action == "owner") {
            print_owner(dialog);
            ok = true;
        } else if (action == "buttons" && has1) {
            ok = print_toolbar_buttons(dialog, std::atoi(p[++i].c_str()));
        } else if (action == "msgbox-click" && has1) {
            ok = click_message_box(std::atoi(p[++i].c_str()));
        } else if (action == "focus") {
            print_focus(dialog);
            ok = true;
        } else if (action == "msgbox-owner") {
            ok = print_message_box_owner();
        } else {
            std::fprintf(stderr, "vtdriver dialog-steps: bad action %s\n", action.c_str());
            return false;
        }
        std::fflush(stdout);
        if (!ok) {
            std::fprintf(stderr, "vtdriver dialog-steps: %s failed\n", action.c_str());
            report_wait("dialog-steps", action == "msgbox-click" || action == "msgbox-owner"
                                            ? "a message box for " + action
                                            : "the control of " + action,
                        visible_windows());
            return false;
        }
    }
    return true;
}

}  // namespace

int cmd_dialog_steps(const Args& args) {
    Options options(args, {"--timeout", "--title"});
    Search search;
    search.title = widen(options.get("--title", ""));
    HWND dialog = wait_for(search, options.seconds("--timeout", 20));
    if (!dialog) {
        std::fprintf(stderr, "vtdriver dialog-steps: no window titled \"%s\"\n",
                     options.get("--title", "").c_str());
        report_wait("dialog-steps", "a window titled \"" + options.get("--title", "") + "\"",
                    visible_windows());
        return 1;
    }
    return run_actions(dialog, options.positional) ? 0 : 1;
}

}  // namespace vtdriver
