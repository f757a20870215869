// Waiting for and operating the windows of another process: message boxes
// and top-level windows such as the open-file dialog.
//
// Texts are read with the wide messages and converted to the ANSI code page:
// under Wine the ANSI forms of the list and combo box item messages return
// one character when sent across processes.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "driver.h"
#include "report_win.h"

namespace vtdriver {

namespace {

constexpr DWORD kPollMs = 50;
constexpr UINT kSendTimeoutMs = 2000;
constexpr double kGoneTimeoutSeconds = 10;

std::string narrow(const wchar_t* text) {
    int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string out(size_t(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], size, nullptr, nullptr);
    out.resize(size_t(size - 1));
    return out;
}

std::wstring widen(const std::string& text) {
    int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(size_t(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &out[0], size);
    out.resize(out.size() - 1);
    return out;
}

std::string class_name(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return narrow(name);
}

// The window's own text for top-level windows; controls of other processes
// answer WM_GETTEXT, sent with a timeout so that a hung target cannot hang us.
std::string window_text(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &length))
        return std::string();
    std::vector<wchar_t> buffer(length + 2, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                        SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied);
    return narrow(buffer.data());
}

std::vector<std::string> combo_items(HWND combo, bool list_box) {
    std::vector<std::string> items;
    UINT count_msg = list_box ? LB_GETCOUNT : CB_GETCOUNT;
    UINT length_msg = list_box ? LB_GETTEXTLEN : CB_GETLBTEXTLEN;
    UINT text_msg = list_box ? LB_GETTEXT : CB_GETLBTEXT;
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(combo, count_msg, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &count))
        return items;
    for (DWORD_PTR i = 0; i < count && LONG_PTR(count) > 0; ++i) {
        DWORD_PTR length = 0;
        SendMessageTimeoutW(combo, length_msg, i, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length);
        if (LONG_PTR(length) < 0) length = 0;
        std::vector<wchar_t> buffer(length + 2, L'\0');
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(combo, text_msg, i, reinterpret_cast<LPARAM>(buffer.data()),
                            SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
        items.push_back(narrow(buffer.data()));
    }
    return items;
}

// Collects every window it is called with; the callbacks of EnumWindows and
// EnumChildWindows are stdcall on 32-bit Windows, which lambdas cannot be.
BOOL CALLBACK collect_window(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> children(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, collect_window, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<HWND> top_level_windows() {
    std::vector<HWND> found;
    EnumWindows(collect_window, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool is_icon_static(HWND control) {
    return (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

// A message box: a dialog whose text is a static control with id 0xFFFF and
// that has nothing to type into or choose from.
HWND message_box_text_control(HWND window) {
    if (!IsWindowVisible(window) || class_name(window) != "#32770") return nullptr;
    HWND text = nullptr;
    for (HWND child : children(window)) {
        std::string cls = class_name(child);
        if (cls == "Edit" || cls == "ComboBox" || cls == "ListBox" || cls == "ComboBoxEx32" ||
            cls == "SysListView32")
            return nullptr;
        if ((GetDlgCtrlID(child) & 0xFFFF) == 0xFFFF && cls == "Static" && !is_icon_static(child))
            text = child;
    }
    return text;
}

// Polls until found returns a window or the time is up.
template <typename Find>
HWND wait_for(double timeout_seconds, Find find) {
    ULONGLONG deadline = GetTickCount64() + ULONGLONG(timeout_seconds * 1000);
    for (;;) {
        for (HWND window : top_level_windows())
            if (find(window)) return window;
        if (GetTickCount64() >= deadline) return nullptr;
        Sleep(kPollMs);
    }
}

bool wait_gone(HWND window, double timeout_seconds) {
    ULONGLONG deadline = GetTickCount64() + ULONGLONG(timeout_seconds * 1000);
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(kPollMs);
    }
    return true;
}

std::string without_ampersands(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != '&') out += c;
    return out;
}

}  // namespace

int cmd_msgbox(const Args& args) {
    Options options(args, {"--timeout", "--press"});
    double timeout = options.seconds("--timeout", 20);
    std::string press = options.get("--press", "ok");
    HWND box = wait_for(timeout, [](HWND w) { return message_box_text_control(w) != nullptr; });
    if (!box) {
        std::fprintf(stderr, "vtdriver msgbox: no message box within %.1f s\n", timeout);
        report_wait("msgbox", "a message box, " + std::to_string(int(timeout)) + " s",
                    visible_windows());
        return 1;
    }
    HWND text = message_box_text_control(box);
    std::string buttons;
    bool icon = false;
    for (HWND child : children(box)) {
        if (!IsWindowVisible(child)) continue;
        std::string cls = class_name(child);
        if (cls == "Button") {
            if (!buttons.empty()) buttons += ",";
            buttons += without_ampersands(window_text(child));
        } else if (cls == "Static" && is_icon_static(child)) {
            icon = true;
        }
    }
    std::printf("caption=%s\n", printable(window_text(box)).c_str());
    std::printf("text=%s\n", printable(window_text(text)).c_str());
    std::printf("buttons=%s\n", buttons.c_str());
    std::printf("icon=%s\n", icon ? "yes" : "no");
    std::fflush(stdout);
    if (press == "none") return 0;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    if (!wait_gone(box, kGoneTimeoutSeconds)) {
        std::fprintf(stderr, "vtdriver msgbox: the message box did not close on OK\n");
        report_wait("msgbox", "the message box to close on OK", visible_windows());
        return 1;
    }
    return 0;
}

int cmd_window(const Args& args) {
    Options options(args, {"--timeout", "--title", "--set-edit", "--place"});
    double timeout = options.seconds("--timeout", 20);
    std::wstring title = widen(options.get("--title", ""));
    HWND window = wait_for(timeout, [&](HWND w) {
        if (!IsWindowVisible(w)) return false;
        wchar_t text[512] = {};
        GetWindowTextW(w, text, 512);
        return title == text;
    });
    if (!window) {
        std::fprintf(stderr, "vtdriver window: no window titled \"%s\" within %.1f s\n",
                     options.get("--title", "").c_str(), timeout);
        report_wait("window", "a window titled \"" + options.get("--title", "") + "\"",
                    visible_windows());
        return 1;
    }
    // --place X,Y,W,H: the window restored from maximised and put there (a
    // user dragging its frame), before its rectangle is printed.
    const std::string place = options.get("--place", "");
    if (!place.empty()) {
        long x = 0, y = 0, w = 0, h = 0;
        if (std::sscanf(place.c_str(), "%ld,%ld,%ld,%ld", &x, &y, &w, &h) != 4) {
            std::fprintf(stderr, "vtdriver window: --place wants X,Y,W,H\n");
            return 64;
        }
        if (IsZoomed(window)) ShowWindow(window, SW_RESTORE);
        // A size of 0 by 0 only moves the window.
        const UINT keep_size = w == 0 && h == 0 ? SWP_NOSIZE : 0;
        SetWindowPos(window, nullptr, int(x), int(y), int(w), int(h),
                     SWP_NOZORDER | SWP_NOACTIVATE | keep_size);
    }
    std::printf("class=%s\n", class_name(window).c_str());
    std::printf("title=%s\n", printable(window_text(window)).c_str());
    RECT r = {};
    GetWindowRect(window, &r);
    std::printf("rect=%ld %ld %ld %ld\n", long(r.left), long(r.top), long(r.right - r.left),
                long(r.bottom - r.top));
    if (options.has("--controls")) {
        for (HWND child : children(window)) {
            std::string cls = class_name(child);
            std::printf("control id=%d class=%s visible=%d text=%s\n", GetDlgCtrlID(child),
                        cls.c_str(), IsWindowVisible(child) ? 1 : 0,
                        printable(window_text(child)).c_str());
            if (cls == "ComboBox" || cls == "ListBox")
                for (const std::string& item : combo_items(child, cls == "ListBox"))
                    std::printf("  item=%s\n", printable(item).c_str());
        }
    }
    std::fflush(stdout);
    // --set-edit ID=TEXT types TEXT into the edit control with that id (the
    // open-file dialog's file name is an edit inside a combo box).
    std::string set_edit = options.get("--set-edit", "");
    if (!set_edit.empty()) {
        size_t equals = set_edit.find('=');
        int id = std::atoi(set_edit.substr(0, equals).c_str());
        HWND target = nullptr;
        for (HWND child : children(window))
            if (class_name(child) == "Edit" && GetDlgCtrlID(child) == id) target = child;
        if (equals == std::string::npos || !target) {
            std::fprintf(stderr, "vtdriver window: no edit control for --set-edit %s\n",
                         set_edit.c_str());
            return 1;
        }
        std::wstring text = widen(set_edit.substr(equals + 1));
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                            SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
    }
    if (options.has("--ok"))
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    else if (options.has("--cancel"))
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    else if (options.has("--close"))
        PostMessageW(window, WM_CLOSE, 0, 0);
    else
        return 0;
    if (!wait_gone(window, kGoneTimeoutSeconds)) {
        std::fprintf(stderr, "vtdriver window: the window did not close\n");
        report_wait("window", "\"" + options.get("--title", "") + "\" to close", visible_windows());
        return 1;
    }
    return 0;
}

}  // namespace vtdriver
