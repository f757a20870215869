#include "viewer/status_bar_win.h"

#include <commctrl.h>

#include <algorithm>

#include "viewer/window_ids.h"

namespace vell {

namespace {
constexpr int kProgressX = 300;
constexpr int kProgressY = 5;
constexpr int kProgressWidth = 150;
constexpr int kProgressHeight = 12;
}  // namespace

HWND create_status_bar(HWND window, HINSTANCE instance, HWND* progress_bar) {
    HWND status = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | CCS_BOTTOM |
                                          SBARS_SIZEGRIP,
                                      " Status Bar", window, ids::kStatusBar);
    *progress_bar = nullptr;
    if (!status) return nullptr;
    HWND progress = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | PBS_SMOOTH, kProgressX,
                                    kProgressY, kProgressWidth, kProgressHeight, status, nullptr,
                                    instance, nullptr);
    if (progress) {
        SendMessageA(progress, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
        SendMessageA(progress, PBM_SETPOS, 0, 0);
    }
    *progress_bar = progress;
    return status;
}

void show_progress(HWND progress_bar, int value) {
    if (!progress_bar) return;
    ShowWindow(progress_bar, SW_SHOW);
    SendMessageA(progress_bar, PBM_SETPOS, WPARAM(std::clamp(value, 0, 100)), 0);
}

void hide_progress(HWND progress_bar) {
    if (progress_bar) ShowWindow(progress_bar, SW_HIDE);
}

void place_status_bar(HWND status_bar, int client_width, int client_height) {
    RECT r = {};
    GetWindowRect(status_bar, &r);
    const int height = r.bottom - r.top;
    MoveWindow(status_bar, 0, client_height - height, client_width, height, TRUE);
    // Moving keeps the bar's old pixels, which the viewer window's own
    // background, painted after the move over everything it uncovered, then
    // hides (the dialog does not clip its children): the bar paints anew.
    RedrawWindow(status_bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace vell
