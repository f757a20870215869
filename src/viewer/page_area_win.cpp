#include "viewer/page_area_win.h"

#include <string>
#include <vector>

#include "render/units.h"
#include "ui_text/window_text.h"
#include "viewer/page_image_win.h"
#include "viewer/viewer_window_win.h"
#include "viewer/zoom.h"

namespace vell {

namespace {

ScreenRect screen_rect(HWND window) {
    RECT r = {};
    if (window) GetWindowRect(window, &r);
    return ScreenRect{r.left, r.top, r.right, r.bottom};
}

ViewerFrame viewer_frame() {
    const ViewerWindow& w = viewer_window();
    ViewerFrame frame;
    frame.status_bar = screen_rect(w.status_bar);
    frame.toolbar = screen_rect(w.toolbar);
    frame.vertical_bar_width = GetSystemMetrics(SM_CXVSCROLL);
    frame.horizontal_bar_height = GetSystemMetrics(SM_CYHSCROLL);
    return frame;
}

// The selected entry's text, or the edit field's (at most 199 characters)
// when nothing is selected or the entry cannot be read.
std::string zoom_box_text(HWND box) {
    const LRESULT item = SendMessageA(box, CB_GETCURSEL, 0, 0);
    if (item != CB_ERR) {
        const LRESULT length = SendMessageA(box, CB_GETLBTEXTLEN, WPARAM(item), 0);
        if (length != CB_ERR && length >= 0) {
            // CB_GETLBTEXT takes no buffer size: the buffer is made to fit.
            std::vector<char> text(size_t(length) + 1, '\0');
            if (SendMessageA(box, CB_GETLBTEXT, WPARAM(item),
                             reinterpret_cast<LPARAM>(text.data())) != CB_ERR)
                return std::string(text.data());
        }
    }
    char edit[kWindowTextLimit + 1] = {};
    GetWindowTextA(box, edit, int(sizeof edit));
    return edit;
}

std::string& last_applied_zoom_text() {
    static std::string text;
    return text;
}

void apply_zoom_box(const ViewerFrame& frame) {
    HWND box = viewer_window().zoom_box;
    const ZoomChoice choice =
        apply_zoom_text(zoom_box_text(box), fit_values(frame, page_extent(1.0), page_extent));
    zoom_factor().value = zoom_for_percent(choice.percent);
    SetWindowTextA(box, choice.box_text.c_str());
    last_applied_zoom_text() = choice.box_text;
}

void place_bar(HWND bar, const BarPlacement& placement) {
    if (!bar) return;
    if (!placement.shown) {
        ShowWindow(bar, SW_HIDE);
        return;
    }
    MoveWindow(bar, placement.x, placement.y, placement.width, placement.height, TRUE);
    ShowWindow(bar, SW_SHOW);
}

int bar_position(HWND bar) { return bar ? GetScrollPos(bar, SB_CTL) : 0; }

void set_bar_position(HWND bar, int position) {
    if (bar) SetScrollPos(bar, SB_CTL, clamp_scroll_position(position), TRUE);
}

// The page area's client rectangle in the viewer window's client
// coordinates, where mouse messages give their positions.
ScreenRect page_area_in_client() {
    const ViewerWindow& w = viewer_window();
    RECT r = {};
    if (!w.page_area || !GetClientRect(w.page_area, &r)) return ScreenRect{};
    MapWindowPoints(w.page_area, w.window, reinterpret_cast<POINT*>(&r), 2);
    return ScreenRect{r.left, r.top, r.right, r.bottom};
}

int32_t click_x(LPARAM position) { return int16_t(LOWORD(position)); }
int32_t click_y(LPARAM position) { return int16_t(HIWORD(position)); }

bool inside_page_area(LPARAM position) {
    return hits_page_area(page_area_in_client(), click_x(position), click_y(position));
}

}  // namespace

const std::string& applied_zoom_box_text() { return last_applied_zoom_text(); }

void fit_page_area_to_page() {
    const ViewerWindow& w = viewer_window();
    if (!w.window) return;
    const ViewerFrame frame = viewer_frame();
    scroll_bars_needed() = ScrollBarsNeeded{};
    apply_zoom_box(frame);

    const PageAreaLayout area = fit_page_area(frame, page_extent(zoom_factor().value));
    scroll_bars_needed() = ScrollBarsNeeded{area.horizontal_bar, area.vertical_bar};
    MoveWindow(w.page_area, area.x, area.y, area.width, area.height, TRUE);
    const ScreenRect actual = screen_rect(w.page_area);
    const ScrollBarLayout bars = place_scroll_bars(area, actual.width(), actual.height(), frame);
    place_bar(w.vertical_bar, bars.vertical);
    place_bar(w.horizontal_bar, bars.horizontal);
}

void on_scroll(bool horizontal, WPARAM wparam) {
    const ViewerWindow& w = viewer_window();
    HWND bar = horizontal ? w.horizontal_bar : w.vertical_bar;
    const int position =
        scroll_position_after(int(LOWORD(wparam)), bar_position(bar), int(HIWORD(wparam)));
    set_bar_position(bar, position);
    copy_page_to_screen();
}

void on_click_zoom(LPARAM position, bool zoom_in) {
    const ViewerWindow& w = viewer_window();
    if (!inside_page_area(position)) return;
    const int percent = click_zoom_step(zoom_factor().value, zoom_in);
    if (percent == 0) return;  // the page would move against the click's word

    // The scroll bars aim at the clicked point at the zoom before the click.
    const ScreenRect area = screen_rect(w.page_area);
    ReaimInput input;
    input.page = page_extent(zoom_factor().value);
    input.horizontal_shown = w.horizontal_bar && IsWindowVisible(w.horizontal_bar);
    input.vertical_shown = w.vertical_bar && IsWindowVisible(w.vertical_bar);
    input.horizontal_position = bar_position(w.horizontal_bar);
    input.vertical_position = bar_position(w.vertical_bar);
    input.area_width = area.width();
    input.area_height = area.height();
    input.x = click_x(position);
    input.y = click_y(position);
    const ScrollPositions aimed = reaim_scroll_positions(input);
    set_bar_position(w.horizontal_bar, aimed.horizontal);
    set_bar_position(w.vertical_bar, aimed.vertical);

    // The new percentage goes into the box as a plain number; applying the
    // box while the page is redrawn holds it to 25..125 and adds the "%".
    SendMessageA(w.zoom_box, CB_SETCURSEL, WPARAM(-1), 0);
    SetWindowTextA(w.zoom_box, std::to_string(percent).c_str());
    redraw_page();
}

bool on_set_cursor(WPARAM under_cursor, LPARAM hit) {
    const ViewerWindow& w = viewer_window();
    HWND window = reinterpret_cast<HWND>(under_cursor);
    if (LOWORD(hit) != HTCLIENT || (window != w.window && window != w.page_area)) return false;
    HCURSOR magnifier = viewer_resources().magnifier;
    POINT at = {};
    if (!magnifier || !GetCursorPos(&at) || !ScreenToClient(w.window, &at)) return false;
    if (!hits_page_area(page_area_in_client(), at.x, at.y)) return false;
    SetCursor(magnifier);
    return true;
}

}  // namespace vell
