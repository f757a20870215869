// The find dialog: DLG_FIND run modelessly by FINDDLGPROC, owned by the
// viewer window. Its buttons post find commands to the viewer window; the
// search runs there.
#include <string>

#include "startup/startup_win.h"
#include "viewer/dialog_place.h"
#include "viewer/find_search.h"
#include "viewer/find_win.h"
#include "viewer/page_image_win.h"
#include "viewer/viewer_window_win.h"

extern "C" __declspec(dllexport) INT_PTR CALLBACK FINDDLGPROC(HWND dialog, UINT message,
                                                              WPARAM wparam, LPARAM lparam);

namespace vell {

namespace {

constexpr char kTemplate[] = "DLG_FIND";

namespace dlg {
constexpr int kText = 101;
constexpr int kNext = 102;
constexpr int kPrevious = 103;
constexpr int kMatchCase = 104;
constexpr int kWholeWords = 105;
constexpr int kClose = 106;
}  // namespace dlg

// What the user looks for is longer than any sensible search, never than a
// drawn text.
constexpr int kTextLimit = 255;

HWND& dialog_handle() {
    static HWND handle = nullptr;
    return handle;
}

void init_find_dialog(HWND dialog) {
    const FindState& find = find_state();
    HWND edit = GetDlgItem(dialog, dlg::kText);
    SendMessageA(edit, EM_LIMITTEXT, kTextLimit, 0);
    SetWindowTextA(edit, find.text.c_str());
    CheckDlgButton(dialog, dlg::kMatchCase, find.options.match_case ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, dlg::kWholeWords, find.options.whole_words ? BST_CHECKED : BST_UNCHECKED);
}

// The dialog's fields become the find state.
void take_fields(HWND dialog) {
    char text[kTextLimit + 1] = {};
    GetDlgItemTextA(dialog, dlg::kText, text, sizeof text);
    FindState& find = find_state();
    const FindOptions options{IsDlgButtonChecked(dialog, dlg::kMatchCase) == BST_CHECKED,
                              IsDlgButtonChecked(dialog, dlg::kWholeWords) == BST_CHECKED};
    // Another text or other options: a new search, which starts at the
    // start of the current page.
    if (text != find.text || options.match_case != find.options.match_case ||
        options.whole_words != find.options.whole_words)
        find.restart = true;
    find.text = text;
    find.options = options;
}

// The search itself runs in the viewer window, after this procedure has
// returned.
void ask_viewer_to_find(HWND dialog, bool forward) {
    take_fields(dialog);
    PostMessageA(GetWindow(dialog, GW_OWNER), WM_COMMAND,
                 forward ? find_ids::kNext : find_ids::kPrevious, 0);
}

void on_dialog_command(HWND dialog, int id) {
    switch (id) {
    case IDOK:
    case dlg::kNext: ask_viewer_to_find(dialog, true); break;
    case dlg::kPrevious: ask_viewer_to_find(dialog, false); break;
    case IDCANCEL:
    case dlg::kClose: SendMessageA(dialog, WM_CLOSE, 0, 0); break;
    default: break;
    }
}

void forget_find_dialog(HWND dialog) {
    if (dialog_handle() == dialog) dialog_handle() = nullptr;
}

SurfaceRect screen_rect_of(const RECT& r) { return SurfaceRect{r.left, r.top, r.right, r.bottom}; }

SurfaceRect window_screen_rect(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return screen_rect_of(r);
}

// The screen less the task bar, of the monitor the window is on.
SurfaceRect work_area_of(HWND window) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
        return SurfaceRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return screen_rect_of(info.rcWork);
}

void move_dialog(HWND dialog, const SurfaceRect& to) {
    SetWindowPos(dialog, nullptr, to.left, to.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Opening beside the page's text: the page area's top right.
void place_new_dialog(HWND dialog) {
    HWND area = viewer_window().page_area;
    if (!area) return;
    move_dialog(dialog, find_dialog_opening(window_screen_rect(dialog), window_screen_rect(area),
                                            work_area_of(dialog)));
}

}  // namespace

HWND find_dialog() { return dialog_handle(); }

void take_find_dialog_fields() {
    if (dialog_handle()) take_fields(dialog_handle());
}

void keep_find_dialog_off_match() {
    HWND dialog = dialog_handle();
    HWND area = viewer_window().page_area;
    const FindState& find = find_state();
    if (!dialog || !area || !find.has_match) return;
    const CopyInput input = page_copy_input();
    const SurfaceRect in_area = page_rect_in_area(input, plan_copy(input), rect_around(find.mark));
    const SurfaceRect area_rect = window_screen_rect(area);
    const SurfaceRect match{area_rect.left + in_area.left, area_rect.top + in_area.top,
                            area_rect.left + in_area.right, area_rect.top + in_area.bottom};
    const SurfaceRect now = window_screen_rect(dialog);
    const SurfaceRect placed = find_dialog_off_match(now, match, work_area_of(dialog));
    if (placed.left != now.left || placed.top != now.top) move_dialog(dialog, placed);
}

void open_find_dialog(HWND viewer) {
    HWND& dialog = dialog_handle();
    if (!dialog) {
        dialog = CreateDialogParamA(startup_state().instance, kTemplate, viewer, FINDDLGPROC, 0);
        if (dialog) place_new_dialog(dialog);
    }
    if (!dialog) return;
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    HWND edit = GetDlgItem(dialog, dlg::kText);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
}

}  // namespace vell

INT_PTR CALLBACK FINDDLGPROC(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: vell::init_find_dialog(dialog); break;
    case WM_COMMAND: vell::on_dialog_command(dialog, LOWORD(wparam)); break;
    case WM_CLOSE: DestroyWindow(dialog); break;
    case WM_DESTROY: vell::forget_find_dialog(dialog); break;
    default: break;
    }
    return 0;
}
