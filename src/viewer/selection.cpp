#include "viewer/selection.h"

#include <algorithm>
#include <limits>

#include "render/page_text_chars.h"
#include "viewer/page_image.h"

namespace vell {

namespace {

bool inside(const PageRect& r, double x, double y) {
    return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

PageRect normalised(const PageRect& r) {
    return PageRect{std::min(r.left, r.right), std::min(r.top, r.bottom),
                    std::max(r.left, r.right), std::max(r.top, r.bottom)};
}

}  // namespace

std::vector<TextPart> select_in_rect(const PageText& page, const PageRect& area) {
    const PageRect a = normalised(area);
    std::vector<TextPart> parts;
    for (size_t i = 0; i < page.items.size(); ++i) {
        const PageTextItem& item = page.items[i];
        // A text wholly outside the rectangle has no character in it.
        if (item.rect.right < a.left || item.rect.left > a.right || item.rect.bottom < a.top ||
            item.rect.top > a.bottom)
            continue;
        // The centres lie on a line and the rectangles are convex, so the
        // selected characters of a text follow one another.
        TextPart part{int(i), 0, 0};
        for (size_t k = 0; k < item.char_ends.size(); ++k) {
            double x = 0, y = 0;
            if (!char_centre(page, item, k, &x, &y)) break;
            if (!inside(a, x, y) || !inside(item.rect, x, y)) {
                if (part.count) break;
                continue;
            }
            if (part.count == 0) part.offset = k;
            ++part.count;
        }
        if (part.count) parts.push_back(part);
    }
    return parts;
}

std::vector<TextPart> select_all(const PageText& page) {
    const double huge = std::numeric_limits<double>::max();
    return select_in_rect(page, PageRect{-huge, -huge, huge, huge});
}

std::vector<PageRect> selection_rects(const PageText& page, const std::vector<TextPart>& parts) {
    std::vector<PageRect> rects;
    rects.reserve(parts.size());
    for (const TextPart& part : parts)
        if (part.item >= 0 && size_t(part.item) < page.items.size())
            rects.push_back(char_span_rect(page, page.items[size_t(part.item)], part.offset, part.count));
    return rects;
}

PagePoint area_to_page(const CopyInput& in, const CopyPlan& plan, int x, int y) {
    const double zoom = drawn_zoom(in.zoom, in.display_option);
    const double to_x = in.resolution_x * zoom, to_y = in.resolution_y * zoom;
    const double kx = plan.stretch && plan.dest_width > 0 ? double(plan.source_width) / plan.dest_width : 1.0;
    const double ky = plan.stretch && plan.dest_height > 0 ? double(plan.source_height) / plan.dest_height : 1.0;
    PagePoint p;
    p.x = to_x > 0 ? (x * kx + plan.source_x) / to_x : 0;
    p.y = to_y > 0 ? (y * ky + plan.source_y) / to_y : 0;
    return p;
}

Selection& selection() {
    static Selection state;
    return state;
}

bool selection_current(int16_t page, double zoom) {
    Selection& s = selection();
    if (!s.active) return false;
    if (s.page != page || s.zoom != zoom) {
        s = Selection{};
        return false;
    }
    return true;
}

}  // namespace vell
