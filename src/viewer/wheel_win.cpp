// The mouse wheel over the viewer window: scrolling by the system's lines
// per notch, flipping pages at the edges, and Ctrl+wheel zoom in the click
// zoom's steps around the point under the mouse.
#include <windows.h>
#include <windowsx.h>

#include <string>

#include "render/units.h"
#include "viewer/comforts_win.h"
#include "viewer/commands_win.h"
#include "viewer/navigation.h"
#include "viewer/page_area_win.h"
#include "viewer/page_image_win.h"
#include "viewer/viewer_window_win.h"
#include "viewer/wheel.h"
#include "viewer/window_ids.h"
#include "viewer/zoom.h"

#ifndef WM_MOUSEHWHEEL
#define WM_MOUSEHWHEEL 0x020E
#endif

namespace vell {

namespace {

bool shown(HWND bar) { return bar && IsWindowVisible(bar); }

int position_of(HWND bar) { return bar ? GetScrollPos(bar, SB_CTL) : 0; }

unsigned wheel_lines() {
    UINT lines = 3;
    if (!SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = 3;
    return lines;
}

RECT page_area_rect() {
    RECT area = {};
    if (viewer_window().page_area) GetWindowRect(viewer_window().page_area, &area);
    return area;
}

// A point held inside the page area, relative to its corner.
int32_t inside(LONG value, LONG low, LONG high) {
    if (value < low) return 0;
    if (value > high) return high - low;
    return value - low;
}

// What the zoom change must keep: the page's size, the area and the point
// under the mouse before the change.
struct ZoomPoint {
    PixelExtent page;
    RECT area = {};
    bool scrolled = false;
    int horizontal = 0;
    int vertical = 0;
    POINT at = {};
};

ZoomPoint zoom_point(POINT at) {
    const ViewerWindow& w = viewer_window();
    ZoomPoint before;
    before.page = page_extent(zoom_factor().value);
    before.area = page_area_rect();
    before.scrolled = scroll_bars_needed().horizontal || scroll_bars_needed().vertical;
    before.horizontal = position_of(w.horizontal_bar);
    before.vertical = position_of(w.vertical_bar);
    before.at = at;
    return before;
}

int kept_position(const ZoomPoint& before, bool horizontal) {
    const PixelExtent page = page_extent(zoom_factor().value);
    const RECT area = page_area_rect();
    // The rectangles' edges across (horizontal) or down.
    auto low = [horizontal](const RECT& r) { return horizontal ? r.left : r.top; };
    auto high = [horizontal](const RECT& r) { return horizontal ? r.right : r.bottom; };
    KeepPointInput in;
    in.scrolled_before = before.scrolled;
    in.page_before = horizontal ? before.page.width : before.page.height;
    in.page_after = horizontal ? page.width : page.height;
    in.area_before = high(before.area) - low(before.area);
    in.area_after = high(area) - low(area);
    in.position_before = horizontal ? before.horizontal : before.vertical;
    const LONG at = horizontal ? before.at.x : before.at.y;
    in.point_before = inside(at, low(before.area), high(before.area));
    in.point_after = inside(at, low(area), high(area));
    return position_keeping_point(in);
}

void scroll_to(HWND bar, int position) {
    if (bar) SetScrollPos(bar, SB_CTL, clamp_scroll_position(position), TRUE);
}

}  // namespace

void move_page_vertically(HWND window, int positions) {
    const ViewerWindow& w = viewer_window();
    const Navigation& nav = navigation();
    const int before = position_of(w.vertical_bar);
    const VerticalMove move =
        vertical_move(before, positions, shown(w.vertical_bar), nav.current_page, nav.page_count);
    switch (move.flip) {
    case PageFlip::kNext:
    case PageFlip::kPrevious:
        // The new page shows from its top (or bottom): the position is set
        // before the page command draws it.
        scroll_to(w.vertical_bar, move.position);
        on_command(window, move.flip == PageFlip::kNext ? ids::kMenuNext : ids::kMenuPrevious, 0);
        break;
    case PageFlip::kNone:
        if (move.position != before)
            on_scroll(false, MAKEWPARAM(SB_THUMBTRACK, WORD(move.position)));
        break;
    }
}

ScrollSteps current_scroll_steps(bool horizontal) {
    return scroll_steps(page_copy_input(), horizontal);
}

void scroll_shown_bar(bool horizontal, int positions) {
    const ViewerWindow& w = viewer_window();
    HWND bar = horizontal ? w.horizontal_bar : w.vertical_bar;
    const int target = clamp_scroll_position(position_of(bar) + positions);
    if (shown(bar) && target != position_of(bar))
        on_scroll(horizontal, MAKEWPARAM(SB_THUMBTRACK, WORD(target)));
}

POINT page_area_centre() {
    const RECT area = page_area_rect();
    return POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}

void zoom_to_percent(int percent, POINT at) {
    const ViewerWindow& w = viewer_window();
    if (!w.zoom_box) return;
    const ZoomPoint before = zoom_point(at);
    // As a click zoom does: the percentage goes into the box as a plain
    // number, and the redraw applies the box.
    SendMessageA(w.zoom_box, CB_SETCURSEL, WPARAM(-1), 0);
    SetWindowTextA(w.zoom_box, std::to_string(percent).c_str());
    redraw_page();
    // The page area and the page have their new sizes now: aim the bars so
    // that the same page point is under the mouse, and copy once more.
    scroll_to(w.horizontal_bar, kept_position(before, true));
    scroll_to(w.vertical_bar, kept_position(before, false));
    copy_page_to_screen();
}

void zoom_by_steps(int steps, POINT at) {
    const double zoom = zoom_factor().value;
    const int now = zoom_percent_now(zoom);
    int percent = now;
    for (int i = 0; i < (steps < 0 ? -steps : steps); ++i) {
        const int next = zoom_step_percent(percent == now ? zoom : percent / 100.0, steps > 0);
        if (next == percent) break;
        percent = next;
    }
    if (percent != now) zoom_to_percent(percent, at);
}

void on_mouse_wheel(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    const int delta = GET_WHEEL_DELTA_WPARAM(wparam);
    const unsigned keys = GET_KEYSTATE_WPARAM(wparam);
    WheelRemainder& remainder = wheel_remainder();
    if (message == WM_MOUSEWHEEL && (keys & MK_CONTROL)) {
        const int notches = take_zoom_notches(remainder.zoom, delta);
        if (notches) zoom_by_steps(notches, POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
        return;
    }
    const bool horizontal = message == WM_MOUSEHWHEEL || (keys & MK_SHIFT);
    int64_t& left = horizontal ? remainder.horizontal : remainder.vertical;
    // The tilt wheel goes right for a positive delta, the wheel turned away
    // from the user goes up (or left with Shift).
    const WheelSteps steps = take_wheel_steps(left, delta, wheel_lines(), message == WM_MOUSEWHEEL);
    // Lines of text and screens of the page area, as scroll positions.
    const ScrollSteps by = current_scroll_steps(horizontal);
    const int positions = scroll_positions_for(
        by, int64_t(steps.lines) * by.line_pixels + int64_t(steps.screens) * by.screen_pixels);
    if (!positions) return;
    if (horizontal)
        scroll_shown_bar(true, positions);
    else
        move_page_vertically(window, positions);
}

}  // namespace vell
