#include "render/page_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "render/units.h"

namespace vell {

namespace {

// Pens and brushes of the interpreter stay here: their handles come from a
// range at the top of the handle space that no device hands out.
constexpr SurfaceHandle kOwnHandles = ~SurfaceHandle(0) - 0x1FFFF;
constexpr SurfaceHandle kStockPen = kOwnHandles;
constexpr SurfaceHandle kStockBrush = kOwnHandles + 1;

constexpr double kPi = 3.14159265358979323846;

// The bounds, in pixels, of a run of text whose first cell has its
// top-left corner at (x, y): width along the baseline, height across it,
// the whole turned counterclockwise by angle degrees about (x, y).
PageRect run_bounds(double x, double y, double width, double height, int angle) {
    if (angle % 360 == 0) return PageRect{x, y, x + width, y + height};
    const double a = angle * kPi / 180.0;
    // Along the baseline and down across it; y grows downwards.
    const double ax = std::cos(a), ay = -std::sin(a);
    const double dx = std::sin(a), dy = std::cos(a);
    const double xs[4] = {x, x + width * ax, x + width * ax + height * dx, x + height * dx};
    const double ys[4] = {y, y + width * ay, y + width * ay + height * dy, y + height * dy};
    return PageRect{*std::min_element(xs, xs + 4), *std::min_element(ys, ys + 4),
                    *std::max_element(xs, xs + 4), *std::max_element(ys, ys + 4)};
}

PageRect clipped(PageRect r, const SurfaceRect& clip) {
    r.left = std::max(r.left, double(clip.left));
    r.top = std::max(r.top, double(clip.top));
    r.right = std::min(r.right, double(clip.right));
    r.bottom = std::min(r.bottom, double(clip.bottom));
    // Nothing left of it: an empty rectangle where it would have started.
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

int escapement_angle(const LogFont& font) { return font.escapement / 10; }

}  // namespace

PageTextSurface::PageTextSurface(Surface& inner, double scale_x, double scale_y)
    : inner_(inner),
      scale_x_(scale_x > 0 ? scale_x : 1),
      scale_y_(scale_y > 0 ? scale_y : 1),
      next_own_(0),
      pen_(kStockPen),
      brush_(kStockBrush) {}

bool PageTextSurface::is_own(SurfaceHandle object) const { return object >= kOwnHandles; }

// Pens have even own handles, brushes odd ones; only which kind is selected
// matters, and the numbers come round again after 32,767 of each.
SurfaceHandle PageTextSurface::create_pen(int, int, uint32_t) {
    next_own_ = (next_own_ + 1) & 0x7FFF;
    return kOwnHandles + 2 * (next_own_ + 1);
}

SurfaceHandle PageTextSurface::create_solid_brush(uint32_t) {
    next_own_ = (next_own_ + 1) & 0x7FFF;
    return kOwnHandles + 2 * (next_own_ + 1) + 1;
}

SurfaceHandle PageTextSurface::create_font_indirect(const LogFont& font) {
    const SurfaceHandle handle = inner_.create_font_indirect(font);
    if (handle != 0 && !is_own(handle)) fonts_.push_back(FontEntry{handle, font});
    return handle;
}

SurfaceHandle PageTextSurface::select_object(SurfaceHandle object) {
    if (is_own(object)) {
        SurfaceHandle& slot = ((object - kOwnHandles) & 1) ? brush_ : pen_;
        const SurfaceHandle previous = slot;
        slot = object;
        return previous;
    }
    for (const FontEntry& entry : fonts_)
        if (entry.handle == object) current_font_ = entry.font;
    return inner_.select_object(object);
}

bool PageTextSurface::delete_object(SurfaceHandle object) {
    if (is_own(object)) return true;
    fonts_.erase(std::remove_if(fonts_.begin(), fonts_.end(),
                                [&](const FontEntry& e) { return e.handle == object; }),
                 fonts_.end());
    return inner_.delete_object(object);
}

int PageTextSurface::device_caps(int index) { return inner_.device_caps(index); }
Resolution PageTextSurface::desktop_resolution() { return inner_.desktop_resolution(); }

SurfaceSize PageTextSurface::text_extent(const char* text, int count) {
    return inner_.text_extent(text, count);
}

TextMetrics PageTextSurface::text_metrics() { return inner_.text_metrics(); }

uint32_t PageTextSurface::set_text_color(uint32_t colour) {
    std::swap(text_colour_, colour);
    return colour;
}

int PageTextSurface::set_bk_mode(int mode) {
    std::swap(bk_mode_, mode);
    return mode;
}

unsigned PageTextSurface::set_text_align(unsigned align) {
    std::swap(text_align_, align);
    return align;
}

bool PageTextSurface::add_text(int x, int y, const std::string& text, PageTextKind kind,
                               const SurfaceRect* clip) {
    if (text.empty()) return false;
    const SurfaceSize extent = inner_.text_extent(text.data(), int(text.size()));
    const int angle = escapement_angle(current_font_);
    // The anchor is the left, middle or right of the run as the alignment
    // says; the run starts that far back along its baseline.
    double back = 0;
    if ((text_align_ & gdi::kTaCenter) == gdi::kTaCenter)
        back = extent.cx / 2.0;
    else if ((text_align_ & gdi::kTaCenter) == gdi::kTaRight)
        back = extent.cx;
    const double a = angle * kPi / 180.0;
    const double start_x = x - back * std::cos(a);
    const double start_y = y + back * std::sin(a);
    PageRect r = run_bounds(start_x, start_y, extent.cx, extent.cy, angle);
    if (clip) r = clipped(r, *clip);

    PageTextItem item;
    item.text = text;
    item.kind = kind;
    item.angle = angle;
    item.rect = PageRect{r.left / scale_x_, r.top / scale_y_, r.right / scale_x_,
                         r.bottom / scale_y_};
    item.origin_x = start_x / scale_x_;
    item.origin_y = start_y / scale_y_;
    item.font = current_font_;
    if (char_geometry_) {
        item.char_ends.resize(text.size());
        inner_.text_partial_extents(text.data(), int(text.size()), item.char_ends.data());
        item.cell_height = extent.cy;
        item.blank_width = inner_.text_extent(" ", 1).cx;
    }
    item.drawn = drawn_;
    items_.push_back(std::move(item));
    return true;
}

bool PageTextSurface::text_out(int x, int y, const char* text, int count) {
    if (text && count > 0) add_text(x, y, std::string(text, size_t(count)), PageTextKind::kText, nullptr);
    ++drawn_;
    return true;
}

bool PageTextSurface::ext_text_out(int x, int y, unsigned options, const SurfaceRect* rect,
                                   const char* text, int count) {
    if (text && count > 0)
        add_text(x, y, std::string(text, size_t(count)), PageTextKind::kBoxed,
                 (options & gdi::kEtoClipped) ? rect : nullptr);
    ++drawn_;
    return true;
}

int PageTextSurface::draw_text_ex(const char* text, SurfaceRect* rect, unsigned format) {
    if (!text || !rect) return 0;
    const std::string all(text);
    const int line_height = wrapped_line_height(inner_.text_metrics(), format);
    // Corrupt rectangles may span more than the int range.
    const int64_t span = int64_t(rect->right) - int64_t(rect->left);
    const int width = (format & gdi::kDtWordBreak)
                          ? int(std::clamp<int64_t>(span, INT32_MIN, INT32_MAX))
                          : INT32_MAX;
    const std::vector<TextLine> lines = wrap_text_lines(inner_, all, width);
    const SurfaceRect* clip = (format & gdi::kDtNoClip) ? nullptr : rect;
    // The lines the surfaces draw: the first always, then while the line
    // test lets them.
    const unsigned align = text_align_;
    text_align_ = gdi::kTaLeftTop;
    int64_t top = rect->top;
    const TextLine* previous = nullptr;  // the line of the latest piece
    for (const TextLine& line : lines) {
        const bool last = wrapped_line_is_last(top, line_height, rect->bottom, format);
        const int y = int(std::clamp<int64_t>(top, INT32_MIN, INT32_MAX));
        const bool joins = previous && previous->length > 0 &&
                           previous->start + previous->length == line.start;
        if (add_text(rect->left, y, all.substr(line.start, line.length), PageTextKind::kWrapped,
                     clip)) {
            // A word broken between characters goes on in this line.
            if (joins) items_[items_.size() - 2].joined = true;
            previous = &line;
        } else {
            previous = nullptr;
        }
        top += line_height;
        if (last) break;
    }
    text_align_ = align;
    ++drawn_;
    return int(std::clamp<int64_t>(top - rect->top, 0, INT32_MAX));
}

PageText read_page_text(const PageSource& page, Surface& measure, bool char_geometry) {
    int resolution_x = measure.device_caps(gdi::kLogPixelsX);
    int resolution_y = measure.device_caps(gdi::kLogPixelsY);
    if (resolution_x < 1) resolution_x = 96;
    if (resolution_y < 1) resolution_y = 96;
    // The interpreter draws at this zoom too.
    double zoom = drawn_zoom(zoom_factor().value, page.display_option);
    if (!(zoom > 0)) zoom = 1.0;

    PageText text;
    text.scale_x = resolution_x * zoom;
    text.scale_y = resolution_y * zoom;
    PageTextSurface surface(measure, text.scale_x, text.scale_y);
    surface.record_char_geometry(char_geometry);
    PageSource source = page;
    source.reading_text = true;
    render_page_bytes(source, surface, resolution_x, resolution_y, 0, 0, 0, nullptr, 0);
    text.items = surface.take_items();
    sort_reading_order(text);
    return text;
}

namespace {

// How many texts that are not on a line the search for its texts looks past.
constexpr size_t kLinePassLimit = 256;

// Turned texts are lines of their own.
bool is_level(const PageTextItem& item) { return item.angle % 360 == 0; }

// The height of a line so far.
struct Band {
    double top = 0;
    double bottom = 0;
};

// A text is on the line when at least half of it, or half of the line,
// lies within the line's height.
bool is_on_line(const PageRect& r, const Band& band) {
    if (!(r.top < band.bottom)) return false;
    const double overlap = std::min(r.bottom, band.bottom) - std::max(r.top, band.top);
    const double smaller = std::min(r.bottom - r.top, band.bottom - band.top);
    return overlap >= 0 && 2 * overlap >= smaller;
}

}  // namespace

void sort_reading_order(PageText& page) {
    std::vector<PageTextItem>& items = page.items;
    const size_t n = items.size();
    std::vector<size_t> by_top(n);
    for (size_t i = 0; i < n; ++i) by_top[i] = i;
    std::stable_sort(by_top.begin(), by_top.end(),
                     [&](size_t a, size_t b) { return items[a].rect.top < items[b].rect.top; });

    // Lines from the top down: each starts at the highest text not yet on
    // a line and takes the texts below it that are on it.
    std::vector<size_t> order;  // drawing indexes in reading order
    order.reserve(n);
    std::vector<bool> placed(n, false);
    page.lines.clear();
    for (size_t k = 0; k < n; ++k) {
        const size_t start = by_top[k];
        if (placed[start]) continue;
        placed[start] = true;
        const size_t first = order.size();
        order.push_back(start);
        Band band{items[start].rect.top, items[start].rect.bottom};
        // Texts that start within the line's height but are not on it, or
        // are on another line already, are looked past up to a bound, so
        // that a page of tall overlapping texts takes linear time.
        size_t passed = 0;
        for (size_t j = k + 1; is_level(items[start]) && j < n && passed < kLinePassLimit; ++j) {
            const PageTextItem& item = items[by_top[j]];
            if (!(item.rect.top < band.bottom)) break;
            if (placed[by_top[j]] || !is_level(item) || !is_on_line(item.rect, band)) {
                ++passed;
                continue;
            }
            placed[by_top[j]] = true;
            order.push_back(by_top[j]);
            band.top = std::min(band.top, item.rect.top);
            band.bottom = std::max(band.bottom, item.rect.bottom);
        }
        std::stable_sort(order.begin() + long(first), order.end(), [&](size_t a, size_t b) {
            return items[a].rect.left < items[b].rect.left;
        });
        page.lines.push_back(PageTextLine{first, order.size() - first});
    }

    // The pieces in reading order, each linked to the one read after it.
    std::vector<size_t> position(n);
    for (size_t p = 0; p < n; ++p) position[order[p]] = p;
    std::vector<PageTextItem> sorted;
    sorted.reserve(n);
    for (size_t p = 0; p < n; ++p) {
        sorted.push_back(std::move(items[order[p]]));
        sorted.back().next = -1;
    }
    for (const PageTextLine& line : page.lines)
        for (size_t p = line.first; p + 1 < line.first + line.count; ++p) sorted[p].next = int(p + 1);
    // A wrapped text's lines follow one another in drawing order.
    for (size_t i = 0; i + 1 < n; ++i) {
        PageTextItem& piece = sorted[position[i]];
        const PageTextItem& after = sorted[position[i + 1]];
        // Links only point forwards, so reading along them always ends.
        if (piece.kind == PageTextKind::kWrapped && after.kind == PageTextKind::kWrapped &&
            after.drawn == piece.drawn && position[i + 1] > position[i])
            piece.next = int(position[i + 1]);
        else
            piece.joined = false;
    }
    if (n > 0) sorted[position[n - 1]].joined = false;
    items = std::move(sorted);
}

PageRect text_part_rect(Surface& measure, const PageText& page, const PageTextItem& item,
                        size_t offset, size_t count) {
    if (offset > item.text.size()) offset = item.text.size();
    if (count > item.text.size() - offset) count = item.text.size() - offset;
    const SurfaceHandle font = measure.create_font_indirect(item.font);
    if (font == 0) return item.rect;
    const SurfaceHandle previous = measure.select_object(font);
    const int before = offset ? measure.text_extent(item.text.data(), int(offset)).cx : 0;
    const SurfaceSize through = measure.text_extent(item.text.data(), int(offset + count));
    measure.select_object(previous);
    measure.delete_object(font);

    return item_run_rect(page, item, before, through.cx - before, through.cy);
}

PageRect item_run_rect(const PageText& page, const PageTextItem& item, double start, double width,
                       double height) {
    // Along the baseline from the first cell's corner, in pixels.
    const double a = item.angle * kPi / 180.0;
    const double x = item.origin_x * page.scale_x + start * std::cos(a);
    const double y = item.origin_y * page.scale_y - start * std::sin(a);
    PageRect r = run_bounds(x, y, width, height, item.angle);
    r = PageRect{r.left / page.scale_x, r.top / page.scale_y, r.right / page.scale_x,
                 r.bottom / page.scale_y};
    // Within what the whole text covers (a boxed text's box cuts it).
    r.left = std::max(r.left, item.rect.left);
    r.top = std::max(r.top, item.rect.top);
    r.right = std::max(r.left, std::min(r.right, item.rect.right));
    r.bottom = std::max(r.top, std::min(r.bottom, item.rect.bottom));
    return r;
}

}  // namespace vell
