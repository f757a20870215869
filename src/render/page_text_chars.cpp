#include "render/page_text_chars.h"

#include <algorithm>
#include <cmath>

namespace vell {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The extent of the characters before k, in pixels along the baseline.
double before(const PageTextItem& item, size_t k) {
    return k == 0 ? 0.0 : double(item.char_ends[k - 1]);
}

}  // namespace

bool char_centre(const PageText& page, const PageTextItem& item, size_t k, double* x, double* y) {
    if (k >= item.char_ends.size()) return false;
    const double along = (before(item, k) + item.char_ends[k]) / 2;
    const double across = item.cell_height / 2.0;
    // Along the baseline and down across it, turned by the text's angle;
    // y grows downwards.
    const double a = item.angle * kPi / 180.0;
    const double px = item.origin_x * page.scale_x + along * std::cos(a) + across * std::sin(a);
    const double py = item.origin_y * page.scale_y - along * std::sin(a) + across * std::cos(a);
    *x = px / page.scale_x;
    *y = py / page.scale_y;
    return true;
}

PageRect char_span_rect(const PageText& page, const PageTextItem& item, size_t first,
                        size_t count) {
    const size_t size = item.char_ends.size();
    if (count == 0 || first >= size) return item.rect;
    const size_t last = std::min(first + count, size) - 1;
    const double start = before(item, first);
    return item_run_rect(page, item, start, item.char_ends[last] - start, item.cell_height);
}

}  // namespace vell
