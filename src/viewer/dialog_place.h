// Where the find dialog stands: beside the page's text when it opens, and
// off the match it has found, as the system's own find dialogs keep out of
// the way of what they find. Portable: screen rectangles (pixels) in, one
// out.
#pragma once

#include "render/surface.h"

namespace vell {

// Room kept between the dialog and what it stays clear of.
constexpr int32_t kDialogMargin = 8;

// Opening: the dialog's top-right corner at the page area's top-right
// corner, a margin in, held inside the work area (the screen less the
// task bar).
SurfaceRect find_dialog_opening(const SurfaceRect& dialog, const SurfaceRect& page_area,
                               const SurfaceRect& work_area);

// After a match: the dialog where it is when it does not cover the match
// (with the margin around it); else moved just below or just above the
// match, whichever is the shorter move that stays in the work area; else
// beside it, to the right or the left; else where it is.
SurfaceRect find_dialog_off_match(const SurfaceRect& dialog, const SurfaceRect& match,
                                 const SurfaceRect& work_area);

}  // namespace vell
