#include "viewer/cancel_win.h"

#include <string>

#include "viewer/commands_win.h"
#include "viewer/find_search.h"
#include "viewer/find_win.h"
#include "viewer/navigation.h"
#include "viewer/page_area_win.h"
#include "viewer/page_image_win.h"
#include "viewer/selection_win.h"
#include "viewer/viewer_window_win.h"
#include "viewer/window_ids.h"

namespace vell {

namespace {

// Each step cancels one thing and says whether there was one; a step of
// another part (the selection, selection_win.h) takes its place here.
using CancelStep = bool (*)();

// A value typed into the zoom box and not yet applied: the box shows the
// zoom as it was again, and the keyboard goes back to the page.
bool put_back_zoom_edit() {
    const ViewerWindow& w = viewer_window();
    HWND focus = GetFocus();
    if (!w.zoom_box || !focus || (focus != w.zoom_box && GetParent(focus) != w.zoom_box))
        return false;
    SetWindowTextA(w.zoom_box, applied_zoom_box_text().c_str());
    if (w.page_area) SendMessageA(w.window, WM_NEXTDLGCTL, WPARAM(w.page_area), TRUE);
    return true;
}

bool clear_find_mark() {
    FindState& find = find_state();
    if (!find.has_match || find.match.page != navigation().current_page) return false;
    find.has_match = false;
    copy_page_to_screen();
    return true;
}

bool close_find_dialog() {
    HWND dialog = find_dialog();
    if (!dialog) return false;
    SendMessageA(dialog, WM_CLOSE, 0, 0);
    return true;
}

constexpr CancelStep kCancelSteps[] = {
    clear_selection,  // before anything else
    put_back_zoom_edit,
    clear_find_mark,
    close_find_dialog,
};

}  // namespace

void cancel_or_close(HWND viewer) {
    for (CancelStep step : kCancelSteps)
        if (step()) return;
    on_command(viewer, ids::kMenuClose, 0);
}

}  // namespace vell
