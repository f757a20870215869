#include "viewer/wheel.h"

#include <algorithm>
#include <cmath>

#include "render/units.h"
#include "viewer/page_image.h"
#include "viewer/zoom.h"

namespace vell {

namespace {

// Adds delta to remainder, first dropping what was left of a turn the other
// way, and takes off whole units of `unit`. Returns how many.
int64_t take_whole(int64_t& remainder, int64_t delta, int64_t unit) {
    if ((delta > 0 && remainder < 0) || (delta < 0 && remainder > 0)) remainder = 0;
    remainder += delta;
    const int64_t whole = remainder / unit;  // towards zero: partial turns wait
    remainder -= whole * unit;
    return whole;
}

int as_int(int64_t value) {
    return int(std::clamp<int64_t>(value, -1000000, 1000000));
}

}  // namespace

WheelRemainder& wheel_remainder() {
    static WheelRemainder remainder;
    return remainder;
}

WheelSteps take_wheel_steps(int64_t& remainder, int delta, unsigned lines_per_notch, bool negate) {
    WheelSteps steps;
    if (lines_per_notch == 0 || delta == 0) return steps;
    const int64_t signed_delta = negate ? -int64_t(delta) : int64_t(delta);
    if (lines_per_notch == kWheelPageScroll) {
        steps.screens = as_int(take_whole(remainder, signed_delta, kWheelNotch));
        return steps;
    }
    // A setting beyond any screen's lines is as good as one screen of them.
    const int64_t lines = std::min<unsigned>(lines_per_notch, 1000);
    steps.lines = as_int(take_whole(remainder, signed_delta * lines, kWheelNotch));
    return steps;
}

ScrollSteps scroll_steps(const CopyInput& in, bool horizontal) {
    // The bars count pixels of the page at the zoom factor, as the copy does.
    const double inches = horizontal ? in.page_width : in.page_height;
    const double resolution = horizontal ? in.resolution_x : in.resolution_y;
    const int32_t area = horizontal ? in.area_width : in.area_height;
    ScrollSteps steps;
    steps.line_pixels =
        std::max(1, round_half_even(kTextLinePoints / 72.0 * resolution * in.zoom));
    steps.screen_pixels = std::max(steps.line_pixels, area - steps.line_pixels);
    steps.overflow = std::max(0, round_half_even(inches * resolution * in.zoom - area));
    return steps;
}

int scroll_positions_for(const ScrollSteps& steps, int64_t pixels) {
    if (pixels == 0) return 0;
    const int sign = pixels < 0 ? -1 : 1;
    if (steps.overflow <= 0) return sign;
    const double positions =
        std::min(std::fabs(double(pixels)) * kScrollMax / steps.overflow, double(kScrollMax));
    const int whole = std::max(1, round_half_even(positions));
    return sign * whole;
}

int take_zoom_notches(int64_t& remainder, int delta) {
    return as_int(take_whole(remainder, delta, kWheelNotch));
}

VerticalMove vertical_move(int position, int delta_positions, bool bar_shown, int current_page,
                           int32_t page_count) {
    VerticalMove move;
    move.position = position;
    if (delta_positions > 0) {
        if (!bar_shown || position >= kScrollMax) {
            if (current_page < page_count) {
                move.flip = PageFlip::kNext;
                move.position = kScrollMin;
            }
            return move;
        }
    } else if (delta_positions < 0) {
        if (!bar_shown || position <= kScrollMin) {
            if (current_page > 1) {
                move.flip = PageFlip::kPrevious;
                move.position = kScrollMax;
            }
            return move;
        }
    }
    move.position = clamp_scroll_position(position + delta_positions);
    return move;
}

int zoom_percent_now(double zoom) { return round_half_even(zoom * 100.0); }

int zoom_step_percent(double zoom, bool zoom_in) {
    // The click zoom's step, which holds to 25..125 and answers 0 for a
    // step against its direction.
    const int step = click_zoom_step(zoom, zoom_in);
    return step ? step : zoom_percent_now(zoom);
}

int position_keeping_point(const KeepPointInput& in) {
    if (in.page_before <= 0 || in.page_after <= in.area_after) return kScrollMin;
    const double overflow_before =
        in.scrolled_before ? std::max(0, in.page_before - in.area_before) : 0.0;
    const double offset_before = overflow_before * in.position_before / 100.0;
    // The same fraction of the page under the point, at the new size.
    const double fraction = (offset_before + in.point_before) / in.page_before;
    const double offset_after = fraction * in.page_after - in.point_after;
    const double overflow_after = in.page_after - in.area_after;
    const double position = offset_after * 100.0 / overflow_after;
    if (!std::isfinite(position)) return kScrollMin;
    return clamp_scroll_position(round_half_even(position));
}

}  // namespace vell
