// The mouse wheel and the scrolling keys: how wheel deltas become scroll
// steps, when a step down or up moves to the next or previous page, how
// far a zoom step goes, and which scroll position keeps a point of the page
// where it is when the zoom changes.
//
// Portable: the window reads the wheel message, the system's lines per
// notch, the scroll bars and the page area, and applies what comes back
// through the existing operations (scroll requests, next and previous page,
// the zoom box).
#pragma once

#include <cstdint>

namespace vell {

struct CopyInput;

// One notch of a wheel; high-resolution wheels send parts of it.
constexpr int kWheelNotch = 120;
// The system's "one screen per notch" setting (WHEEL_PAGESCROLL).
constexpr unsigned kWheelPageScroll = 0xFFFFFFFFu;

// What the wheel has turned but not yet scrolled, per direction. Deltas are
// kept multiplied by the lines per notch, so that with any setting every
// 120 units of delta give exactly that many lines and nothing is lost to
// rounding. A turn the other way drops what was left over.
struct WheelRemainder {
    int64_t vertical = 0;
    int64_t horizontal = 0;
    int64_t zoom = 0;
};
WheelRemainder& wheel_remainder();

// How a wheel turn scrolls: lines (scroll bar line steps) or screens (page
// steps), positive down or right.
struct WheelSteps {
    int lines = 0;
    int screens = 0;
};

// Adds a delta (positive: wheel turned away from the user, or tilted
// right) to a remainder and takes off the whole steps. lines_per_notch is
// SPI_GETWHEELSCROLLLINES: 0 scrolls nothing, kWheelPageScroll a screen per
// notch. negate: true for the vertical wheel and for Shift+wheel (turning
// away scrolls up or left), false for the tilt wheel (tilting right
// scrolls right).
WheelSteps take_wheel_steps(int64_t& remainder, int delta, unsigned lines_per_notch,
                            bool negate);

// How far the keys and the wheel scroll, in scroll positions (0..100 of the
// page's overflow, as the bars count): a line is a line of text at the zoom
// (kTextLinePoints, six lines to the inch), a screen is the page area less
// a line, so the line at the edge stays in view. Each step is at least one
// position; with no overflow the bar is hidden and any step will do.
constexpr double kTextLinePoints = 12.0;
struct ScrollSteps {
    int line_pixels = 1;
    int screen_pixels = 1;
    int overflow = 0;  // pixels of the page beyond the area
};
// horizontal: across (the area's width), else down.
ScrollSteps scroll_steps(const CopyInput& input, bool horizontal);
// pixels (negative: up or left) as scroll positions: at least one either
// way, at most the whole range.
int scroll_positions_for(const ScrollSteps& steps, int64_t pixels);

// Whole notches of a zoom turn (positive: zoom in), partial deltas kept.
int take_zoom_notches(int64_t& remainder, int delta);

// A vertical move of the page by steps (positive down): at the bottom of
// the page (or with no vertical bar at all) a move down goes to the next
// page, shown from its top; at the top a move up goes to the previous page,
// shown from its bottom; anything else moves the bar. No page to go to
// leaves everything as it is.
enum class PageFlip { kNone, kNext, kPrevious };
struct VerticalMove {
    PageFlip flip = PageFlip::kNone;
    int position = 0;  // the bar's new position (the new page's when flipping)
};
VerticalMove vertical_move(int position, int delta_positions, bool bar_shown,
                           int current_page, int32_t page_count);

// A zoom step in the click-zoom steps, from the zoom factor now: the click
// zoom's step (click_zoom_step: held to 25..125, never against the
// direction asked for), or the current percentage (rounded) when the step
// would go the wrong way: from a fit value above 125 % a step in stays
// where it is, from one below 25 % a step out stays.
int zoom_step_percent(double zoom, bool zoom_in);
// The percentage the zoom factor shows, rounded.
int zoom_percent_now(double zoom);

// Keeping a point of the page in place across a zoom change. One direction
// at a time: the page's size before and after, the page area's size before
// and after, the scroll position before, whether the copy scrolled before
// (a bar was needed), and where the point lies in the page area before and
// after (pixels from the area's edge; the area can move when the zoom
// changes). Returns the new scroll position, 0..100; 0 when the page then
// fits.
struct KeepPointInput {
    int32_t page_before = 0;
    int32_t page_after = 0;
    int32_t area_before = 0;
    int32_t area_after = 0;
    int position_before = 0;
    bool scrolled_before = false;
    int32_t point_before = 0;
    int32_t point_after = 0;
};
int position_keeping_point(const KeepPointInput& input);

}  // namespace vell
