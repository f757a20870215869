// Selecting text with the mouse and copying it. A press in the page area
// becomes a drag once the mouse moves beyond the system's drag distance;
// the characters inside the rectangle from press to mouse are selected and
// highlighted over the copies of the page image (never drawn into it), and
// the page scrolls while the mouse is past the area's edge, moving or held
// still. A release
// within the drag distance is a click, and zooms in as a click always did.
#include "viewer/selection_win.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

#include "document/document.h"
#include "document/format.h"
#include "render/interpreter.h"
#include "render/units.h"
#include "viewer/find_search.h"
#include "viewer/navigation.h"
#include "viewer/page_area_win.h"
#include "viewer/page_image_win.h"
#include "viewer/selection.h"
#include "viewer/selection_copy.h"
#include "viewer/viewer_window_win.h"
#include "viewer/window_ids.h"

namespace vell {

namespace {

// Multiplied into the page: white turns light blue, text stays dark.
constexpr COLORREF kHighlightColour = RGB(153, 204, 255);
constexpr DWORD kMaskPattern = 0x00A000C9;  // PATAND

struct Drag {
    bool pressed = false;
    bool dragging = false;
    LPARAM press = 0;      // the press as the message gave it (viewer client)
    POINT press_area = {};  // the press in page area pixels
    PagePoint anchor;      // the press on the page, fixed while the page scrolls
};

// While the mouse is held past the area's edge, the page goes on scrolling
// towards it, a step a tick.
constexpr UINT_PTR kEdgeScrollTimer = 0x5E1;
constexpr UINT kEdgeScrollMs = 50;

Drag& drag() {
    static Drag state;
    return state;
}

POINT client_to_area(HWND viewer, LPARAM position) {
    POINT p{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    MapWindowPoints(viewer, viewer_window().page_area, &p, 1);
    return p;
}

RECT area_client() {
    RECT r = {};
    if (viewer_window().page_area) GetClientRect(viewer_window().page_area, &r);
    return r;
}

bool in_area(POINT p) {
    const RECT r = area_client();
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

PagePoint page_point(POINT area) {
    const CopyInput in = page_copy_input();
    return area_to_page(in, plan_copy(in), area.x, area.y);
}

// The texts of the page shown, with their characters, measured on the page
// image's own surface; kept while the page and zoom stay.
bool read_shown_page() {
    const Navigation& nav = navigation();
    if (selection_current(nav.current_page, zoom_factor().value)) return true;
    selection() = Selection{};
    Surface* measure = page_image_surface();
    Document& doc = the_document();
    if (!measure || doc.page_number != nav.current_page) return false;
    PageSource source;
    source.bytes = doc.page.data();
    source.size = doc.page.size();
    source.page_number = nav.current_page;
    source.page_count = page_count(doc);
    source.display_option = header_i32(doc, hdr::kDisplayOption);
    Selection& s = selection();
    s.text = read_page_text(source, *measure, true);
    s.page = nav.current_page;
    s.zoom = zoom_factor().value;
    s.active = true;
    return true;
}

// One scroll step towards the mouse for each edge it is past.
void scroll_towards(POINT area) {
    const RECT r = area_client();
    const ViewerWindow& w = viewer_window();
    auto step = [](HWND bar, bool horizontal, int request) {
        if (bar && IsWindowVisible(bar)) on_scroll(horizontal, MAKEWPARAM(WORD(request), 0));
    };
    if (area.x < r.left) step(w.horizontal_bar, true, SB_LINELEFT);
    if (area.x >= r.right) step(w.horizontal_bar, true, SB_LINERIGHT);
    if (area.y < r.top) step(w.vertical_bar, false, SB_LINEUP);
    if (area.y >= r.bottom) step(w.vertical_bar, false, SB_LINEDOWN);
}

void follow_mouse(POINT area) {
    if (!in_area(area)) scroll_towards(area);
    const PagePoint to = page_point(area);
    Selection& s = selection();
    const PagePoint& from = drag().anchor;
    s.parts = select_in_rect(s.text, PageRect{from.x, from.y, to.x, to.y});
    copy_page_to_screen();
}

// Ticks while the mouse is past the edge; none once it is back inside.
void keep_scrolling(HWND viewer, POINT area) {
    if (in_area(area))
        KillTimer(viewer, kEdgeScrollTimer);
    else
        SetTimer(viewer, kEdgeScrollTimer, kEdgeScrollMs, nullptr);
}

void on_edge_tick(HWND viewer) {
    POINT cursor = {};
    if (!drag().dragging || !GetCursorPos(&cursor) || !ScreenToClient(viewer_window().page_area, &cursor)) {
        KillTimer(viewer, kEdgeScrollTimer);
        return;
    }
    follow_mouse(cursor);
    keep_scrolling(viewer, cursor);
}

void on_press(HWND viewer, LPARAM position) {
    const POINT area = client_to_area(viewer, position);
    if (!in_area(area)) return;
    Drag& d = drag();
    d = Drag{};
    d.pressed = true;
    d.press = position;
    d.press_area = area;
    d.anchor = page_point(area);
    SetCapture(viewer);
}

void on_move(HWND viewer, LPARAM position) {
    Drag& d = drag();
    if (!d.pressed) return;
    const POINT area = client_to_area(viewer, position);
    if (!d.dragging) {
        // The page's texts are read at the first move of the pressed mouse,
        // which is most often still within the drag distance: once the drag
        // starts, the highlight follows at once.
        if (!read_shown_page()) return;
        const bool beyond = std::abs(area.x - d.press_area.x) > GetSystemMetrics(SM_CXDRAG) ||
                            std::abs(area.y - d.press_area.y) > GetSystemMetrics(SM_CYDRAG);
        if (!beyond) return;
        // A new drag takes the old selection away.
        clear_selection();
        d.dragging = true;
    }
    follow_mouse(area);
    keep_scrolling(viewer, area);
}

void on_release(HWND viewer) {
    Drag& d = drag();
    const bool click = d.pressed && !d.dragging;
    const LPARAM press = d.press;
    d = Drag{};
    KillTimer(viewer, kEdgeScrollTimer);
    if (GetCapture() == viewer) ReleaseCapture();
    if (click) on_click_zoom(press, true);
}

}  // namespace

void plug_selection(HWND viewer) {
    set_page_overlay_above(draw_selection);
    if (can_open_other_documents()) {
        DragAcceptFiles(viewer, TRUE);
    } else if (viewer_resources().menu_attached) {
        DeleteMenu(viewer_resources().menu, ids::kMenuOpen, MF_BYCOMMAND);
        DrawMenuBar(viewer);
    }
}

void unplug_selection() {
    set_page_overlay_above(nullptr);
    drag() = Drag{};
    selection() = Selection{};
}

bool on_selection_mouse(HWND viewer, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    // The dialog class takes double clicks: a quick second click arrives
    // as one and is a second press.
    case WM_LBUTTONDBLCLK: on_press(viewer, lparam); return true;
    case WM_MOUSEMOVE: on_move(viewer, lparam); return drag().pressed;
    case WM_LBUTTONUP: on_release(viewer); return true;
    case WM_CAPTURECHANGED:
        if (HWND(lparam) != viewer) {
            drag() = Drag{};
            KillTimer(viewer, kEdgeScrollTimer);
        }
        return true;
    case WM_TIMER:
        if (wparam != kEdgeScrollTimer) return false;
        on_edge_tick(viewer);
        return true;
    case WM_DROPFILES: open_dropped_files(HDROP(wparam)); return true;
    default: return false;
    }
}

bool on_selection_command(HWND viewer, int id) {
    switch (id) {
    case ids::kMenuOpen: open_other_document(viewer); return true;
    case ids::kMenuCopy: copy_selection(viewer); return true;
    case ids::kMenuSelectAll: select_whole_page(); return true;
    default: return false;
    }
}

bool clear_selection() {
    Selection& s = selection();
    const bool had = s.active && !s.parts.empty();
    // The page's texts stay for the next drag on the same page and zoom.
    s.parts.clear();
    if (had) copy_page_to_screen();
    return had;
}

void select_whole_page() {
    if (!read_shown_page()) return;
    Selection& s = selection();
    s.parts = select_all(s.text);
    copy_page_to_screen();
}

void draw_selection(HDC target, const CopyInput& input, const CopyPlan& plan) {
    if (!selection_current(navigation().current_page, zoom_factor().value)) return;
    const Selection& s = selection();
    if (s.parts.empty()) return;
    HBRUSH brush = CreateSolidBrush(kHighlightColour);
    if (!brush) return;
    HGDIOBJ previous = SelectObject(target, brush);
    for (const PageRect& rect : selection_rects(s.text, s.parts)) {
        SurfaceRect r = page_rect_in_area(input, plan, rect);
        r.left = std::max(r.left, 0);
        r.top = std::max(r.top, 0);
        r.right = std::min(r.right, plan.dest_width);
        r.bottom = std::min(r.bottom, plan.dest_height);
        if (r.right > r.left && r.bottom > r.top)
            PatBlt(target, r.left, r.top, r.right - r.left, r.bottom - r.top, kMaskPattern);
    }
    SelectObject(target, previous);
    DeleteObject(brush);
}

}  // namespace vell
