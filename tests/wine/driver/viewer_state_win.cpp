// Finding vell's viewer window from another process and reading its parts.
#include "viewer_driver.h"

#include <commctrl.h>

#include <cstdio>

namespace vtdriver {
namespace viewer {

namespace {

constexpr UINT kSendTimeoutMs = 5000;
constexpr DWORD kPollMs = 50;

std::string narrow(const wchar_t* text) {
    int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string out(size_t(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], size, nullptr, nullptr);
    out.resize(size_t(size - 1));
    return out;
}

BOOL CALLBACK collect(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

HWND child_with_id(const std::vector<HWND>& all, int id, const char* cls) {
    for (HWND w : all)
        if (GetDlgCtrlID(w) == id && class_name(w) == cls) return w;
    return nullptr;
}

bool fill_parts(HWND window, Parts* parts) {
    const std::vector<HWND> all = descendants(window);
    Parts p;
    p.window = window;
    p.toolbar = child_with_id(all, 112, "ToolbarWindow32");
    p.status_bar = child_with_id(all, 111, "msctls_statusbar32");
    p.page_area = child_with_id(all, 108, "Static");
    p.zoom_label = child_with_id(all, 106, "Static");
    p.zoom_box = child_with_id(all, 107, "ComboBox");
    p.index_box = child_with_id(all, 113, "ComboBox");
    p.vertical_bar = child_with_id(all, 109, "ScrollBar");
    p.horizontal_bar = child_with_id(all, 110, "ScrollBar");
    for (HWND w : all)
        if (class_name(w) == "msctls_progress32") p.progress_bar = w;
    if (!p.page_area || !p.status_bar || !p.toolbar) return false;
    *parts = p;
    return true;
}

const char* yes_no(bool value) { return value ? "1" : "0"; }

using Lines = std::vector<std::string>;

void add(Lines& lines, const std::string& key, const std::string& value) {
    lines.push_back(key + "=" + printable(value));
}

// Each button as ID:on, ID:off or ID:- when the toolbar lacks it.
void add_toolbar(Lines& lines, const Parts& p) {
    std::string states;
    for (int id = 751; id <= 760; ++id) {
        std::string state = "-";
        if (send(p.toolbar, TB_COMMANDTOINDEX, WPARAM(id), 0) >= 0) {
            const LRESULT bits = send(p.toolbar, TB_GETSTATE, WPARAM(id), 0);
            state = bits >= 0 && (bits & TBSTATE_ENABLED) ? "on" : "off";
        }
        states += (states.empty() ? "" : " ") + std::to_string(id) + ":" + state;
    }
    add(lines, "toolbar", states);
}

void add_bar(Lines& lines, const std::string& name, HWND bar) {
    add(lines, name + ".visible", yes_no(bar && IsWindowVisible(bar)));
    add(lines, name + ".position", std::to_string(bar ? GetScrollPos(bar, SB_CTL) : -1));
}

void add_combo(Lines& lines, const std::string& name, HWND combo) {
    add(lines, name + ".visible", yes_no(combo && IsWindowVisible(combo)));
    add(lines, name + ".text", text_of(combo));
    add(lines, name + ".selection", std::to_string(long(send(combo, CB_GETCURSEL, 0, 0))));
    for (const std::string& item : combo_items(combo)) add(lines, name + ".item", item);
}

}  // namespace

std::string class_name(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return narrow(name);
}

LRESULT send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD_PTR result = 0;
    if (!window ||
        !SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &result))
        return -1;
    return LRESULT(result);
}

std::string text_of(HWND window) {
    const LRESULT length = send(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return std::string();
    std::vector<wchar_t> buffer(size_t(length) + 2, L'\0');
    send(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return narrow(buffer.data());
}

std::vector<std::string> combo_items(HWND combo) {
    std::vector<std::string> items;
    const LRESULT count = send(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = send(combo, CB_GETLBTEXTLEN, WPARAM(i), 0);
        if (length < 0) length = 0;
        std::vector<wchar_t> buffer(size_t(length) + 2, L'\0');
        send(combo, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(buffer.data()));
        items.push_back(narrow(buffer.data()));
    }
    return items;
}

std::vector<HWND> descendants(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, collect, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool find_viewer(double timeout, Parts* parts) {
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(timeout * 1000);
    for (;;) {
        std::vector<HWND> windows;
        EnumWindows(collect, reinterpret_cast<LPARAM>(&windows));
        for (HWND w : windows)
            if (IsWindowVisible(w) && class_name(w) == "#32770" && fill_parts(w, parts))
                return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(kPollMs);
    }
}

namespace {

// The control of the viewer that has the keyboard focus: "ID:CLASS", the
// zoom box's edit as "107:Edit"; "window" for the viewer itself.
std::string focus_of(const Parts& p) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(p.window, nullptr), &info) || !info.hwndFocus)
        return "none";
    if (info.hwndFocus == p.window) return "window";
    HWND control = info.hwndFocus;
    // An edit inside a combo box counts as that box's.
    if (GetParent(control) == p.zoom_box || GetParent(control) == p.index_box)
        return std::to_string(GetDlgCtrlID(GetParent(control))) + ":" + class_name(control);
    return std::to_string(GetDlgCtrlID(control)) + ":" + class_name(control);
}

std::string count_property(HWND window, const char* name) {
    return std::to_string(reinterpret_cast<uintptr_t>(GetPropA(window, name)));
}

// "X Y W H" of a window's screen rectangle.
std::string screen_rect_text(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top);
}


}  // namespace

std::vector<std::string> state_lines(const Parts& p) {
    Lines lines;
    add(lines, "caption", text_of(p.window));
    add(lines, "maximized", yes_no(IsZoomed(p.window)));
    add(lines, "status", text_of(p.status_bar));
    add(lines, "progress.visible", yes_no(p.progress_bar && IsWindowVisible(p.progress_bar)));
    add(lines, "progress.position", std::to_string(long(send(p.progress_bar, PBM_GETPOS, 0, 0))));
    add_toolbar(lines, p);
    add(lines, "zoomlabel", text_of(p.zoom_label));
    add_combo(lines, "zoom", p.zoom_box);
    add_combo(lines, "index", p.index_box);
    add_bar(lines, "vbar", p.vertical_bar);
    add_bar(lines, "hbar", p.horizontal_bar);
    add(lines, "area", screen_rect_text(p.page_area));
    add(lines, "zoom.rect", screen_rect_text(p.zoom_box));
    RECT bar = {};
    GetWindowRect(p.vertical_bar, &bar);
    add(lines, "vbar.width", std::to_string(bar.right - bar.left));
    const LRESULT button = send(p.toolbar, TB_GETBUTTONSIZE, 0, 0);
    add(lines, "toolbar.button",
        std::to_string(LOWORD(button)) + "x" + std::to_string(HIWORD(button)));
    add(lines, "focus", focus_of(p));
    // The page image's counts, which the viewer window publishes.
    add(lines, "renders", count_property(p.window, "vell.renders"));
    add(lines, "copies", count_property(p.window, "vell.copies"));
    return lines;
}

}  // namespace viewer
}  // namespace vtdriver
