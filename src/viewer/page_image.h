// The off-screen page image: its size, which part of it a copy into the page
// area takes, and the counters that show how often the page was rendered.
//
// The arithmetic is portable; the bitmap itself, rendering into it and the
// copies live in page_image_win.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "render/surface.h"
#include "render/units.h"

namespace vell {

struct ImageSize {
    int32_t width = 0;
    int32_t height = 0;
};

// The largest zoom a typed value or a zoom box entry can choose.
constexpr double kLargestZoom = 1.25;

// The image made at window set-up: big enough for the largest page of all
// paper codes 1..41, in either orientation (the two screen resolutions
// taken crosswise for landscape), at 125 %, plus the one-pixel edge line on
// every side. (A fixed 17.5-inch square holds only 14 inches at 125 % and
// would cut Ledger's 17.) 2166 by 2166 pixels at 96 pixels per inch, set by
// Envelope C3's 458 mm.
ImageSize page_image_size(Resolution screen);

// The size the image should have for a page drawn at extent: the set-up
// size (base), or larger where the page and its edge lines need it, each
// side at most kMaxImageSide. A page above kMaxImagePixels (a fit value far
// above 125 % on a very large window) keeps its width and gets the height
// the budget leaves: the page is then cut at the image's foot. Pages that
// fit the set-up size get it back, so a large image is not kept after the
// page that needed it.
constexpr int32_t kMaxImageSide = 16384;
constexpr int64_t kMaxImagePixels = int64_t(48) * 1024 * 1024;
ImageSize image_size_holding(ImageSize base, PixelExtent extent);

// The sizes to try when the wanted one cannot be made, largest first: the
// wanted size, then each side halfway down towards base again and again,
// base last. Never empty.
std::vector<ImageSize> image_size_fallbacks(ImageSize wanted, ImageSize base);

// Settles the image for a page drawn at extent: wants image_size_holding;
// when that differs from current, tries the fallbacks with make (which
// makes a bitmap of that size and puts it in place of the old one, or
// returns false and leaves the old one) until one is made. A fallback that
// current already holds ends the search: keeping current shows as much.
// Returns the size the image has afterwards.
ImageSize settle_image_size(ImageSize current, ImageSize base, PixelExtent extent,
                            const std::function<bool(ImageSize)>& make);

// Everything a copy into the page area depends on.
struct CopyInput {
    double zoom = 1.0;            // the zoom factor
    int32_t display_option = 0;   // the document header's
    float page_width = 8.5f;      // page geometry, inches as displayed
    float page_height = 11.0f;
    int32_t resolution_x = 96;    // display units after page geometry
    int32_t resolution_y = 96;
    int32_t area_width = 0;       // the page area's window rectangle
    int32_t area_height = 0;
    bool horizontal_needed = false;  // ScrollBarsNeeded
    bool vertical_needed = false;
    int horizontal_position = 0;  // read from the bars, shown or not
    int vertical_position = 0;
};

// One copy: BitBlt (stretch false) of dest_width x dest_height pixels from
// (source_x, source_y), or, for display option 0x800 below 100 %,
// StretchBlt of source_width x source_height pixels from (source_x,
// source_y) onto dest_width x dest_height. The target is always at (0, 0).
//  - dest size: the page at the zoom factor, at most the area;
//  - source origin: 1 + the scroll position's share of the overflow (page
//    minus area) when a bar is needed, else 1 (the 1 skips the edge line);
//    an overflow below 0 counts as 0, so a copy never starts left of or
//    above the page;
//  - stretched copies divide origin and size by the zoom factor.
struct CopyPlan {
    bool stretch = false;
    int32_t source_x = 1;
    int32_t source_y = 1;
    int32_t source_width = 0;
    int32_t source_height = 0;
    int32_t dest_width = 0;
    int32_t dest_height = 0;
};
CopyPlan plan_copy(const CopyInput& input);

// How often the page image was rendered and copied since the process
// started: scrolling and repainting must add copies only, never renders.
struct PageImageCounters {
    unsigned long renders = 0;
    unsigned long copies = 0;
};
PageImageCounters& page_image_counters();

}  // namespace vell
