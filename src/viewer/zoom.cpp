#include "viewer/zoom.h"

#include <cmath>
#include <cstdint>

#include "document/text.h"
#include "ui_text/labels.h"

namespace vell {

namespace {

// A percentage taken to a 16-bit integer, saturating instead of wrapping
// (a wrapped value would turn a huge fit into a negative one).
int as_int16(int32_t value) {
    if (value > INT16_MAX) return INT16_MAX;
    if (value < INT16_MIN) return INT16_MIN;
    return value;
}

int at_least_fit_floor(int percent) { return percent < kFitMinPercent ? kFitMinPercent : percent; }

// nearest(100 * available / page) for a page of page pixels; a page of no
// pixels (a screen that reports no resolution) gives no fit at all.
int fit_percent(int32_t available, int32_t page) {
    if (page <= 0) return kZoomDefaultPercent;
    return as_int16(round_half_even(100.0 * available / page));
}

int32_t not_below_zero(int32_t value) { return value < 0 ? 0 : value; }

// floor(numerator / 2^shift) for a signed 64-bit numerator.
int64_t floor_shift(int64_t numerator, int shift) {
    if (numerator >= 0) return numerator >> shift;
    const int64_t magnitude = -numerator;
    return -((magnitude + (int64_t(1) << shift) - 1) >> shift);
}

}  // namespace

ScrollBarsNeeded& scroll_bars_needed() {
    static ScrollBarsNeeded state;
    return state;
}

// ---- The zoom box ----------------------------------------------------------------

FitValues fit_values(const ViewerFrame& frame, PixelExtent page_at_100,
                     PixelExtent (*extent_at)(double zoom)) {
    const int32_t available_width = frame.status_bar.width() - 24;
    const int32_t available_height = (frame.status_bar.top - 12) - (frame.toolbar.bottom + 24);
    auto page_at = [&](int percent) {
        if (extent_at) return extent_at(zoom_for_percent(percent));
        return PixelExtent{round_half_even(double(page_at_100.width) * percent / 100),
                           round_half_even(double(page_at_100.height) * percent / 100)};
    };
    // The largest percentage from percent down whose page the area shows
    // without the bars that shows_whole rules out.
    auto held = [&](int percent, auto shows_whole) {
        while (percent > kFitMinPercent && !shows_whole(fit_page_area(frame, page_at(percent))))
            --percent;
        return percent;
    };
    auto no_horizontal_bar = [](const PageAreaLayout& a) { return !a.horizontal_bar; };
    auto no_bar = [](const PageAreaLayout& a) { return !a.horizontal_bar && !a.vertical_bar; };

    FitValues fit;
    int by_width = fit_percent(available_width, page_at_100.width);
    const int by_height = fit_percent(available_height, page_at_100.height);
    fit.fit_window = held(at_least_fit_floor(by_height < by_width ? by_height : by_width), no_bar);
    // A page that is too tall at the full width will have the vertical bar:
    // its width comes off the width the page is fitted to.
    if (fit_page_area(frame, page_at(at_least_fit_floor(by_width))).vertical_bar)
        by_width = fit_percent(available_width - frame.vertical_bar_width, page_at_100.width);
    fit.fit_width = held(at_least_fit_floor(by_width), no_horizontal_bar);
    return fit;
}

int typed_zoom_percent(const std::string& text) {
    // At most four characters are read, so the value always fits 16 bits.
    const long long value = leading_number(text.substr(0, 4));
    if (value == 0) return kZoomDefaultPercent;
    if (value < kZoomMinPercent) return kZoomMinPercent;
    if (value > kZoomMaxPercent) return kZoomMaxPercent;
    return int(value);
}

ZoomChoice apply_zoom_text(const std::string& text, const FitValues& fit,
                           const std::string& label11, const std::string& label12) {
    const std::string key = to_upper(trim(text));
    ZoomChoice choice;
    if (key == to_upper(trim(label11))) {
        choice.percent = fit.fit_window;
        choice.box_text = label11;
    } else if (key == to_upper(trim(label12))) {
        choice.percent = fit.fit_width;
        choice.box_text = label12;
    } else {
        choice.percent = typed_zoom_percent(text);
        choice.box_text = std::to_string(choice.percent) + "%";
    }
    return choice;
}

ZoomChoice apply_zoom_text(const std::string& text, const FitValues& fit) {
    return apply_zoom_text(text, fit, window_label(11), window_label(12));
}

double zoom_for_percent(int percent) { return percent / 100.0; }

// ---- Fitting the page area --------------------------------------------------------

PageAreaLayout fit_page_area(const ViewerFrame& frame, PixelExtent page_at_zoom) {
    PageAreaLayout area;
    const int32_t available_width = frame.status_bar.width() - 24;
    const int32_t available_height = (frame.status_bar.top - 12) - (frame.toolbar.bottom + 12);
    // A page up to 5 pixels larger than the space still fits: the area
    // grows into the margin.
    auto too_wide = [&](int32_t width) { return width + 5 < page_at_zoom.width; };
    auto too_tall = [&](int32_t height) { return height + 5 < page_at_zoom.height; };
    area.horizontal_bar = too_wide(available_width);
    area.vertical_bar = too_tall(available_height);
    // Each bar takes its thickness from the other direction, which is then
    // decided again: otherwise the page's edge would lie under the bar with
    // no way to scroll to it.
    for (int round = 0; round < 2; ++round) {
        if (area.vertical_bar && !area.horizontal_bar)
            area.horizontal_bar = too_wide(available_width - frame.vertical_bar_width);
        if (area.horizontal_bar && !area.vertical_bar)
            area.vertical_bar = too_tall(available_height - frame.horizontal_bar_height);
    }
    int32_t width = page_at_zoom.width;
    if (area.horizontal_bar)
        width = available_width - (area.vertical_bar ? frame.vertical_bar_width : 0);
    int32_t height = page_at_zoom.height;
    if (area.vertical_bar)
        height = available_height - (area.horizontal_bar ? frame.horizontal_bar_height : 0);

    int32_t x = round_half_even((available_width - width) / 2.0);
    if (area.vertical_bar) x = round_half_even(x - 0.5 * frame.vertical_bar_width);
    area.x = x + 12;
    area.y = kPageAreaTop;
    area.width = not_below_zero(width);
    area.height = not_below_zero(height);
    return area;
}

ScrollBarLayout place_scroll_bars(const PageAreaLayout& area, int32_t actual_width,
                                  int32_t actual_height, const ViewerFrame& frame) {
    ScrollBarLayout bars;
    if (area.vertical_bar)
        bars.vertical = {true, area.x + actual_width, area.y, frame.vertical_bar_width,
                         actual_height};
    if (area.horizontal_bar)
        bars.horizontal = {true, area.x, area.y + actual_height, actual_width,
                           frame.horizontal_bar_height};
    return bars;
}

// ---- Scrolling ------------------------------------------------------------------------

int clamp_scroll_position(int position) {
    if (position < kScrollMin) return kScrollMin;
    if (position > kScrollMax) return kScrollMax;
    return position;
}

int scroll_position_after(int request, int position, int thumb) {
    switch (request) {
    case 0: return clamp_scroll_position(position - kScrollLine);   // SB_LINEUP / LINELEFT
    case 1: return clamp_scroll_position(position + kScrollLine);   // SB_LINEDOWN / LINERIGHT
    case 2: return clamp_scroll_position(position - kScrollPage);   // SB_PAGEUP / PAGELEFT
    case 3: return clamp_scroll_position(position + kScrollPage);   // SB_PAGEDOWN / PAGERIGHT
    case 5: return clamp_scroll_position(thumb);                    // SB_THUMBTRACK
    default: return clamp_scroll_position(position);
    }
}

// ---- Click zoom --------------------------------------------------------------------

bool hits_page_area(const ScreenRect& area, int32_t x, int32_t y) {
    return area.left <= x && x < area.right && area.top <= y && y < area.bottom;
}

int click_zoom_percent(double zoom, bool zoom_in) {
    // floor(10 * zoom + 2) and floor(10 * zoom - 1.5) evaluated exactly: in
    // plain double arithmetic 10 * 0.6 rounds up to 6.0, while the stored
    // factor lies just below 0.6. With zoom = m * 2^(e - 53) (m a 53-bit
    // integer), 10 * zoom + c = (10 * m + c * 2^s) / 2^s for s = 53 - e,
    // which 64-bit integers hold exactly for zooms from 2^-8 up; far outside
    // the zooms the viewer uses, plain arithmetic is good enough.
    int exponent = 0;
    const double fraction = std::frexp(zoom, &exponent);
    const int shift = 53 - exponent;
    if (!std::isfinite(zoom) || zoom <= 0 || zoom >= 1e6 || shift > 60) {
        const double steps = std::floor(10 * zoom + (zoom_in ? 2.0 : -1.5));
        return std::isfinite(steps) && std::fabs(steps) < 1e8 ? 10 * int(steps) : kZoomDefaultPercent;
    }
    const int64_t mantissa = int64_t(std::ldexp(fraction, 53));
    // +2 is 2 * 2^s; -1.5 is -3 * 2^(s - 1).
    const int64_t offset = zoom_in ? (int64_t(2) << shift) : -(int64_t(3) << (shift - 1));
    return int(10 * floor_shift(10 * mantissa + offset, shift));
}

int click_zoom_step(double zoom, bool zoom_in) {
    int percent = click_zoom_percent(zoom, zoom_in);
    if (percent < kZoomMinPercent) percent = kZoomMinPercent;
    if (percent > kZoomMaxPercent) percent = kZoomMaxPercent;
    const double target = zoom_for_percent(percent);
    if (zoom_in ? target < zoom : target > zoom) return 0;
    return percent;
}

ScrollPositions reaim_scroll_positions(const ReaimInput& in) {
    auto reaim = [](bool shown, int position, int32_t page, int32_t area, int32_t click) {
        if (!shown || page <= 0) return 0;
        const int32_t offset = round_half_even(position / 100.0 * (double(page) - area));
        return clamp_scroll_position(round_half_even((double(offset) + click) * 100.0 / page));
    };
    ScrollPositions p;
    p.horizontal = reaim(in.horizontal_shown, in.horizontal_position, in.page.width,
                         in.area_width, in.x);
    p.vertical = reaim(in.vertical_shown, in.vertical_position, in.page.height, in.area_height,
                       in.y);
    return p;
}

}  // namespace vell
