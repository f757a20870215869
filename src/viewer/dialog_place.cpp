#include "viewer/dialog_place.h"

#include <algorithm>
#include <cstdlib>

namespace vell {

namespace {

int32_t width(const SurfaceRect& r) { return r.right - r.left; }
int32_t height(const SurfaceRect& r) { return r.bottom - r.top; }

SurfaceRect moved_to(const SurfaceRect& r, int32_t left, int32_t top) {
    return SurfaceRect{left, top, left + width(r), top + height(r)};
}

int32_t held(int32_t value, int32_t low, int32_t high) {
    return std::max(low, std::min(value, std::max(low, high)));
}

SurfaceRect held_inside(const SurfaceRect& r, const SurfaceRect& work) {
    return moved_to(r, held(r.left, work.left, work.right - width(r)),
                    held(r.top, work.top, work.bottom - height(r)));
}

bool overlaps(const SurfaceRect& a, const SurfaceRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool inside(const SurfaceRect& r, const SurfaceRect& work) {
    return r.left >= work.left && r.top >= work.top && r.right <= work.right &&
           r.bottom <= work.bottom;
}

// Of two places, the one in the work area with the shorter move; null when
// neither is.
const SurfaceRect* nearer(const SurfaceRect& from, const SurfaceRect& a, const SurfaceRect& b,
                         const SurfaceRect& work) {
    const bool a_fits = inside(a, work), b_fits = inside(b, work);
    if (!a_fits) return b_fits ? &b : nullptr;
    if (!b_fits) return &a;
    const auto distance = [&from](const SurfaceRect& r) {
        return std::abs(r.left - from.left) + std::abs(r.top - from.top);
    };
    return distance(a) <= distance(b) ? &a : &b;
}

}  // namespace

SurfaceRect find_dialog_opening(const SurfaceRect& dialog, const SurfaceRect& page_area,
                               const SurfaceRect& work_area) {
    const SurfaceRect placed = moved_to(dialog, page_area.right - kDialogMargin - width(dialog),
                                       page_area.top + kDialogMargin);
    return held_inside(placed, work_area);
}

SurfaceRect find_dialog_off_match(const SurfaceRect& dialog, const SurfaceRect& match,
                                 const SurfaceRect& work_area) {
    const SurfaceRect around{match.left - kDialogMargin, match.top - kDialogMargin,
                            match.right + kDialogMargin, match.bottom + kDialogMargin};
    if (!overlaps(dialog, around)) return dialog;
    const SurfaceRect below = moved_to(dialog, dialog.left, around.bottom);
    const SurfaceRect above = moved_to(dialog, dialog.left, around.top - height(dialog));
    if (const SurfaceRect* r = nearer(dialog, below, above, work_area)) return *r;
    const SurfaceRect right = moved_to(dialog, around.right, dialog.top);
    const SurfaceRect left = moved_to(dialog, around.left - width(dialog), dialog.top);
    if (const SurfaceRect* r = nearer(dialog, right, left, work_area)) return *r;
    return dialog;
}

}  // namespace vell
