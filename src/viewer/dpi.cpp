#include "viewer/dpi.h"

#include "render/units.h"

namespace vell {

ToolbarImageSet toolbar_image_set(int dpi) {
    if (dpi < 120) return ToolbarImageSet{20, 501};
    if (dpi < 168) return ToolbarImageSet{30, 502};
    return ToolbarImageSet{40, 503};
}

int scale_for_dpi(int base, int dpi) {
    if (dpi < 1) dpi = kBaseDpi;
    return round_half_even(double(base) * dpi / kBaseDpi);
}

}  // namespace vell
