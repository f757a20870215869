// The find mark: a yellow highlighter box over the match, drawn over every
// copy of the page image into the page area (never into the image), so
// scrolling keeps it without rendering.
#include <algorithm>

#include "viewer/find_search.h"
#include "viewer/find_win.h"
#include "viewer/navigation.h"
#include "viewer/page_image_win.h"
#include "viewer/viewer_window_win.h"

namespace vell {

namespace {

constexpr COLORREF kMarkColour = RGB(255, 255, 0);
constexpr DWORD kMaskPattern = 0x00A000C9;  // PATAND: white turns yellow, text stays dark

}  // namespace

void draw_find_mark(HDC target, const CopyInput& input, const CopyPlan& plan) {
    FindState& find = find_state();
    if (!find.has_match) return;
    // Another page is shown: the mark has gone for good.
    if (find.match.page != navigation().current_page) {
        find.has_match = false;
        return;
    }
    HBRUSH brush = CreateSolidBrush(kMarkColour);
    if (!brush) return;
    HGDIOBJ previous = SelectObject(target, brush);
    for (const PageRect& piece : find.mark) {
        SurfaceRect r = page_rect_in_area(input, plan, piece);
        // A pixel of room around the text, within the copy.
        r.left = std::max(r.left - 1, 0);
        r.top = std::max(r.top - 1, 0);
        r.right = std::min(r.right + 1, plan.dest_width);
        r.bottom = std::min(r.bottom + 1, plan.dest_height);
        if (r.right > r.left && r.bottom > r.top)
            PatBlt(target, r.left, r.top, r.right - r.left, r.bottom - r.top, kMaskPattern);
    }
    SelectObject(target, previous);
    DeleteObject(brush);
}

void scroll_to_match() {
    const FindState& find = find_state();
    if (!find.has_match) return;
    const CopyInput input = page_copy_input();
    const ScrollPositions wanted = scroll_positions_showing(input, rect_around(find.mark));
    const ViewerWindow& w = viewer_window();
    if (w.horizontal_bar && wanted.horizontal != input.horizontal_position)
        SetScrollPos(w.horizontal_bar, SB_CTL, wanted.horizontal, TRUE);
    if (w.vertical_bar && wanted.vertical != input.vertical_position)
        SetScrollPos(w.vertical_bar, SB_CTL, wanted.vertical, TRUE);
}

}  // namespace vell
