// Operating a dialog of another process by its title:
//
//   dialog --title T [--timeout S] [--set ID=TEXT] [--keys ID=TEXT]
//          [--limit ID] [--press ID]
//
// in this order: --set replaces the text of control ID (WM_SETTEXT);
// --keys types TEXT into control ID one character at a time (WM_CHAR), so
// the control's own limit applies; --limit prints "limit=N", the text limit
// of edit control ID; --press clicks button ID and returns at once, so a
// message box that the click opens is left to "msgbox".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "driver.h"
#include "report_win.h"
#include "window_search_win.h"

namespace vtdriver {

namespace {

constexpr DWORD kPollMs = 50;
constexpr UINT kSendTimeoutMs = 2000;

struct TitleSearch {
    std::wstring title;
    HWND found = nullptr;
};

std::wstring to_wide(const std::string& text) {
    int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(size_t(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &out[0], size);
    out.resize(out.size() - 1);
    return out;
}

BOOL CALLBACK match_title(HWND window, LPARAM data) {
    TitleSearch* search = reinterpret_cast<TitleSearch*>(data);
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    if (!IsWindowVisible(window) || search->title != text) return TRUE;
    search->found = window;
    return FALSE;
}


// "ID=TEXT" split into the control of the dialog and the text.
HWND control_of(HWND dialog, const std::string& plan, std::wstring* text) {
    const size_t equals = plan.find('=');
    if (equals == std::string::npos) return nullptr;
    if (text) *text = to_wide(plan.substr(equals + 1));
    return GetDlgItem(dialog, std::atoi(plan.substr(0, equals).c_str()));
}

LRESULT send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &result))
        return -1;
    return LRESULT(result);
}

bool fail(const char* what, const std::string& value) {
    std::fprintf(stderr, "vtdriver dialog: %s %s failed\n", what, value.c_str());
    return false;
}

bool run(HWND dialog, const Options& options) {
    const std::string set = options.get("--set", "");
    if (!set.empty()) {
        std::wstring text;
        HWND control = control_of(dialog, set, &text);
        if (!control || send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) < 0)
            return fail("--set", set);
    }
    const std::string keys = options.get("--keys", "");
    if (!keys.empty()) {
        std::wstring text;
        HWND control = control_of(dialog, keys, &text);
        if (!control) return fail("--keys", keys);
        for (wchar_t c : text) send(control, WM_CHAR, WPARAM(c), 1);
    }
    const std::string limit = options.get("--limit", "");
    if (!limit.empty()) {
        HWND control = GetDlgItem(dialog, std::atoi(limit.c_str()));
        if (!control) return fail("--limit", limit);
        std::printf("limit=%ld\n", long(send(control, EM_GETLIMITTEXT, 0, 0)));
    }
    const std::string press = options.get("--press", "");
    if (!press.empty()) {
        const int id = std::atoi(press.c_str());
        HWND button = GetDlgItem(dialog, id);
        if (!button) return fail("--press", press);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
    return true;
}

}  // namespace

HWND wait_for_visible_title(const std::string& title, double timeout_seconds) {
    TitleSearch search;
    search.title = to_wide(title);
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(timeout_seconds * 1000);
    for (;;) {
        search.found = nullptr;
        EnumWindows(match_title, reinterpret_cast<LPARAM>(&search));
        if (search.found || GetTickCount64() >= deadline) return search.found;
        Sleep(kPollMs);
    }
}

int cmd_dialog(const Args& args) {
    Options options(args, {"--timeout", "--title", "--set", "--keys", "--limit", "--press"});
    const std::string title = options.get("--title", "");
    HWND dialog = wait_for_visible_title(title, options.seconds("--timeout", 20));
    if (!dialog) {
        std::fprintf(stderr, "vtdriver dialog: no window titled \"%s\"\n", title.c_str());
        report_wait("dialog", "a window titled \"" + title + "\"", visible_windows());
        return 1;
    }
    const bool ok = run(dialog, options);
    std::fflush(stdout);
    return ok ? 0 : 1;
}

}  // namespace vtdriver
