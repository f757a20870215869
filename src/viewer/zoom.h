// The zoom and the page area: reading the zoom box, the two fit modes,
// placing the page area and its scroll bars for the page at the current
// zoom, scrolling and click zoom.
//
// Pure functions over plain structures: the window reads its rectangles,
// system metrics and control texts, passes them in, and applies what comes
// back (zoom factor, box text, control positions, scroll positions).
// Rectangles are in pixels; "screen" rectangles are what GetWindowRect
// returns.
#pragma once

#include <cstdint>
#include <string>

#include "render/units.h"

namespace vell {

// ---- Limits -------------------------------------------------------------------

constexpr int kZoomMinPercent = 25;       // typed values below become this
constexpr int kZoomMaxPercent = 125;      // typed values above become this
constexpr int kZoomDefaultPercent = 100;  // typed 0 or no number at all
// Fit values below this become this. A tiny window would otherwise give a
// zoom factor of 0 or below (nothing drawn, divisions by zero in the copy)
// or a few percent (fonts that collapse to height 0, which GDI reads as its
// default size). 25 % is the floor typed values already have.
constexpr int kFitMinPercent = 25;

// ---- Process-wide state ---------------------------------------------------------

// Which scroll bars the last fit of the page area needed. Set by the window
// from PageAreaLayout; read by the copy of the page image, which starts at
// the image's corner when neither is set.
struct ScrollBarsNeeded {
    bool horizontal = false;
    bool vertical = false;
};
ScrollBarsNeeded& scroll_bars_needed();

// ---- Geometry ------------------------------------------------------------------

struct ScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
};

// The window's parts that the page area is fitted between: the status bar
// and the toolbar (screen rectangles), and the system's scroll bar sizes.
struct ViewerFrame {
    ScreenRect status_bar;
    ScreenRect toolbar;
    int32_t vertical_bar_width = 0;    // SM_CXVSCROLL
    int32_t horizontal_bar_height = 0; // SM_CYHSCROLL
};

// ---- The zoom box ----------------------------------------------------------------

// The two fit percentages for the current window and page (page size at
// 100 %: page_extent(1.0)).
//   available width  = status bar width - 24
//   available height = (status bar top - 12) - (toolbar bottom + 24)
//   fit width  = nearest(100 * available width / page width)
//   fit window = the smaller of nearest(100 * available height / page
//                height) and the fit width, each held to 16 bits first
// Both are at least kFitMinPercent; there is no upper limit. Each is then
// held to what the page area really shows (fit_page_area at that zoom, the
// page's size at it from extent_at): fit width to the largest percentage
// whose page needs no horizontal bar, which takes the vertical bar's width
// off the available width when a tall page will need that bar; fit window
// to the largest whose page needs no bar at all. extent_at null scales
// page_at_100.
struct FitValues {
    int fit_width = kZoomDefaultPercent;
    int fit_window = kZoomDefaultPercent;
};
FitValues fit_values(const ViewerFrame& frame, PixelExtent page_at_100,
                     PixelExtent (*extent_at)(double zoom) = nullptr);

// The percentage of a typed value: the numeric value of the first four
// characters (leading blanks skipped, fraction dropped towards minus
// infinity); 0 gives 100, below 25 gives 25, above 125 gives 125.
int typed_zoom_percent(const std::string& text);

// Applying the zoom box: text is the selected entry's text, or the edit
// field's when nothing is selected. Compared trimmed and upper-cased with
// label 11 (fit window) and then label 12 (fit width); a match gives that fit
// value and the box text becomes the label as stored. Anything else is a
// typed value and the box text becomes "N%". The window sets the zoom factor
// to percent / 100 and writes box_text back into the zoom box's edit field.
struct ZoomChoice {
    int percent = kZoomDefaultPercent;
    std::string box_text;
};
ZoomChoice apply_zoom_text(const std::string& text, const FitValues& fit,
                           const std::string& label11, const std::string& label12);
// The same with labels 11 and 12 from the table.
ZoomChoice apply_zoom_text(const std::string& text, const FitValues& fit);

// The zoom factor of a percentage: percent / 100.
double zoom_for_percent(int percent);

// ---- Fitting the page area --------------------------------------------------------

// Where the page area goes for a page of page_at_zoom pixels (page_extent of
// the zoom factor just applied), in the viewer window's client coordinates.
//  - visible width = status bar width - 24; a page up to 5 pixels wider
//    still fits (the area grows to the page), else the horizontal bar is
//    needed; the same for the height between (toolbar bottom + 12) and
//    (status bar top - 12) with the vertical bar;
//  - a needed bar takes its thickness from the other dimension, and the
//    other direction is decided again with that thickness taken off: a page
//    that fits only without the bar gets the other bar too, so every part
//    of the page can be scrolled to;
//  - the area is centred in the available width, moved left by half the
//    vertical bar's width when that bar is needed, 12 pixels from the left
//    edge; its top is always 44.
// Width and height are never below 0.
constexpr int32_t kPageAreaTop = 44;
struct PageAreaLayout {
    bool horizontal_bar = false;
    bool vertical_bar = false;
    int32_t x = 0;
    int32_t y = kPageAreaTop;
    int32_t width = 0;
    int32_t height = 0;
};
PageAreaLayout fit_page_area(const ViewerFrame& frame, PixelExtent page_at_zoom);

// Where the scroll bars go once the page area has been moved and its
// actual width and height read back: the vertical bar at its right edge,
// the horizontal bar along its bottom. A bar not needed is hidden.
struct BarPlacement {
    bool shown = false;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};
struct ScrollBarLayout {
    BarPlacement vertical;
    BarPlacement horizontal;
};
ScrollBarLayout place_scroll_bars(const PageAreaLayout& area, int32_t actual_width,
                                  int32_t actual_height, const ViewerFrame& frame);

// ---- Scrolling ------------------------------------------------------------------------

constexpr int kScrollMin = 0;
constexpr int kScrollMax = 100;
constexpr int kScrollLine = 3;
constexpr int kScrollPage = 15;

// The position after a scroll request (the low word of WM_HSCROLL /
// WM_VSCROLL's wParam): line up/left (0) -3, line down/right (1) +3, page
// up/left (2) -15, page down/right (3) +15, thumb track (5) thumb (the high
// word); any other request leaves the position. Held to 0..100.
int scroll_position_after(int request, int position, int thumb);
int clamp_scroll_position(int position);

// ---- Click zoom --------------------------------------------------------------------

// Whether a click or mouse move at (x, y) (client coordinates from lParam,
// signed 16-bit) lies in the page area: area is the page area's own client
// rectangle mapped into the viewer window's client coordinates (the window
// maps it, so frame widths, caption and a wrapped menu bar never enter the
// arithmetic). Right and bottom are exclusive, as in every client rectangle.
bool hits_page_area(const ScreenRect& area, int32_t x, int32_t y);

// The zoom box text after a click: left (zoom_in) 10 * floor(10 * zoom + 2),
// right 10 * floor(10 * zoom - 1.5), computed exactly on the stored double
// (the factor for 60 % lies just below 0.6, so a left click gives 70 %).
int click_zoom_percent(double zoom, bool zoom_in);

// The percentage a click zooms to, held to 25..125 as the zoom box will
// hold it, or 0 when the click would go against its word: from a fit value
// above 125 % zooming in would shrink the page, from one below 25 %
// zooming out would enlarge it. Such a click changes nothing. The window
// clears the box's selection, sets the number as its text and redraws.
int click_zoom_step(double zoom, bool zoom_in);

// Re-aiming the scroll bars at the clicked point, with the page size at the
// zoom before the click. For each direction with its bar shown: offset =
// nearest(position / 100 * (page - area)), new position = nearest((offset
// + click) * 100 / page); a hidden bar goes to 0. Held to 0..100. The click
// is in client coordinates as received, not relative to the page area.
struct ReaimInput {
    PixelExtent page;  // page_extent(zoom factor before the click)
    bool horizontal_shown = false;
    bool vertical_shown = false;
    int horizontal_position = 0;
    int vertical_position = 0;
    int32_t area_width = 0;  // the page area's current size
    int32_t area_height = 0;
    int32_t x = 0;
    int32_t y = 0;
};
struct ScrollPositions {
    int horizontal = 0;
    int vertical = 0;
};
ScrollPositions reaim_scroll_positions(const ReaimInput& input);

}  // namespace vell
