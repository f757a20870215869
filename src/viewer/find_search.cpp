#include "viewer/find_search.h"

#include <algorithm>
#include <cmath>

#include "document/document.h"
#include "document/format.h"
#include "render/units.h"
#include "viewer/page_image.h"

namespace vell {

FindState& find_state() {
    static FindState state;
    return state;
}

const Bytes& search_page_bytes(Document& doc, int32_t p, Bytes& buffer) {
    if (p == doc.page_number) return doc.page;
    Bytes shown;
    shown.swap(doc.page);
    const int32_t shown_number = doc.page_number;
    load_page(doc, p);
    buffer.swap(doc.page);
    doc.page.swap(shown);
    doc.page_number = shown_number;
    return buffer;
}

PageSearchRun::PageSearchRun(Document& doc, Surface& measure, const DocumentSearch& search)
    : doc_(doc), measure_(measure), search_(search) {}

bool PageSearchRun::step() {
    if (search_.finished()) return false;
    const int16_t page = search_.page();
    const Bytes& bytes = search_page_bytes(doc_, page, buffer_);
    if (!search_.worth_reading(bytes.data(), bytes.size())) {
        search_.pass();
    } else {
        PageSource source;
        source.bytes = bytes.data();
        source.size = bytes.size();
        source.page_number = page;
        source.page_count = page_count(doc_);
        source.display_option = header_i32(doc_, hdr::kDisplayOption);
        const PageText text = read_page_text(source, measure_);
        ++pages_read_;
        if (search_.look(text)) match_rects_ = rects_of_match(measure_, text, search_.match());
    }
    // The page read for the search is not kept.
    Bytes().swap(buffer_);
    return !search_.finished();
}

std::vector<PageRect> rects_of_match(Surface& measure, const PageText& text, const TextMatch& match) {
    std::vector<PageRect> rects;
    for (const TextPart& part : match_parts(text, match))
        rects.push_back(
            text_part_rect(measure, text, text.items[size_t(part.item)], part.offset, part.count));
    return rects;
}

PageRect rect_around(const std::vector<PageRect>& rects) {
    if (rects.empty()) return PageRect{};
    PageRect around = rects.front();
    for (const PageRect& r : rects) {
        around.left = std::min(around.left, r.left);
        around.top = std::min(around.top, r.top);
        around.right = std::max(around.right, r.right);
        around.bottom = std::max(around.bottom, r.bottom);
    }
    return around;
}

std::string find_progress_text(int16_t page, int32_t page_count) {
    return "Searching page " + std::to_string(page) + " of " + std::to_string(page_count) +
           " (Esc stops)";
}

int scroll_position_showing(int current, double first, double last, int overflow, int area) {
    if (overflow <= 0) return current;
    const double origin = std::round(overflow * current / 100.0) + 1;
    if (first >= origin && last <= origin + area) return current;
    const double wanted = first - 1 - area / 3.0;
    const int position = int(std::lround(wanted * 100.0 / overflow));
    return std::clamp(position, 0, 100);
}

SurfaceRect page_rect_in_area(const CopyInput& in, const CopyPlan& plan, const PageRect& rect) {
    const double zoom = drawn_zoom(in.zoom, in.display_option);
    const double to_x = in.resolution_x * zoom, to_y = in.resolution_y * zoom;
    const double kx = plan.stretch && plan.source_width > 0 ? double(plan.dest_width) / plan.source_width : 1.0;
    const double ky = plan.stretch && plan.source_height > 0 ? double(plan.dest_height) / plan.source_height : 1.0;
    SurfaceRect r;
    r.left = int32_t(std::floor((rect.left * to_x - plan.source_x) * kx));
    r.top = int32_t(std::floor((rect.top * to_y - plan.source_y) * ky));
    r.right = int32_t(std::ceil((rect.right * to_x - plan.source_x) * kx));
    r.bottom = int32_t(std::ceil((rect.bottom * to_y - plan.source_y) * ky));
    return r;
}

ScrollPositions scroll_positions_showing(const CopyInput& in, const PageRect& rect) {
    // The bars count in pixels of the page at the zoom factor, as the copy
    // plan does.
    const double to_x = in.resolution_x * in.zoom, to_y = in.resolution_y * in.zoom;
    const int overflow_x = std::max(0, round_half_even(double(in.page_width) * to_x - in.area_width));
    const int overflow_y = std::max(0, round_half_even(double(in.page_height) * to_y - in.area_height));
    ScrollPositions p{in.horizontal_position, in.vertical_position};
    if (in.horizontal_needed || in.vertical_needed) {
        p.horizontal = scroll_position_showing(p.horizontal, rect.left * to_x, rect.right * to_x,
                                               overflow_x, in.area_width);
        p.vertical = scroll_position_showing(p.vertical, rect.top * to_y, rect.bottom * to_y,
                                             overflow_y, in.area_height);
    }
    return p;
}

}  // namespace vell
