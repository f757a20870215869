// The viewer at the display's scale: which toolbar image set fits a
// resolution, and the sizes that follow the scale. Portable.
#pragma once

namespace vell {

constexpr int kBaseDpi = 96;

// The toolbar's images: 20, 30 or 40 pixels square, ten side by side in
// bitmap 501, 502 or 503. The set is the one nearest the scale: up to 119
// pixels per inch (below 125 %) the 20-pixel set, up to 167 (below 175 %)
// the 30-pixel set, above that the 40-pixel set.
struct ToolbarImageSet {
    int size = 20;
    int bitmap_id = 501;
};
ToolbarImageSet toolbar_image_set(int dpi);

// A length of base pixels at 96 pixels per inch scaled to dpi, rounded;
// a resolution below 1 counts as 96.
int scale_for_dpi(int base, int dpi);

}  // namespace vell
