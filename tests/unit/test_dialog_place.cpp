#include <gtest/gtest.h>

#include "viewer/dialog_place.h"

namespace vell {
namespace {

bool same(const SurfaceRect& a, const SurfaceRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A 1280 x 1000 work area, a find dialog of 340 x 100.
TEST(FindDialogPlace, OpensAtThePageAreasTopRightAndMovesOffTheMatch) {
    const SurfaceRect work{0, 0, 1280, 1000};
    const SurfaceRect dialog{60, 60, 400, 160};
    EXPECT_TRUE(same(find_dialog_opening(dialog, SurfaceRect{12, 80, 1268, 980}, work),
                     SurfaceRect{920, 88, 1260, 188}));
    // Clear of the match: it stays.
    EXPECT_TRUE(same(find_dialog_off_match(dialog, SurfaceRect{500, 100, 600, 120}, work), dialog));
    // Over it: just below it, the shorter move.
    EXPECT_TRUE(same(find_dialog_off_match(dialog, SurfaceRect{100, 100, 200, 120}, work),
                     SurfaceRect{60, 128, 400, 228}));
    // No room below: above.
    EXPECT_TRUE(same(find_dialog_off_match(SurfaceRect{60, 880, 400, 980},
                                           SurfaceRect{100, 940, 200, 960}, work),
                     SurfaceRect{60, 832, 400, 932}));
    // A match as tall as the screen: beside it.
    EXPECT_TRUE(same(find_dialog_off_match(dialog, SurfaceRect{100, 5, 200, 995}, work),
                     SurfaceRect{208, 60, 548, 160}));
}

}  // namespace
}  // namespace vell
