// The page image: its size against every paper at the largest zoom, its
// growth, and which part of it a copy takes.
#include <gtest/gtest.h>

#include "document/document.h"
#include "document/format.h"
#include "render/units.h"
#include "viewer/page_image.h"

namespace vell {
namespace {

// The page's extent in pixels after page geometry has run for a page of
// this paper and orientation, as the viewer computes it.
PixelExtent extent_of(int16_t paper, int16_t orientation, Resolution screen, double zoom) {
    PageHeader header;
    header.paper_size = paper;
    header.orientation = orientation;
    run_page_geometry(header, screen);
    return page_extent(zoom);
}

TEST(PageImageSize, HoldsEveryPaperInEitherOrientationAt125Percent) {
    const PageGeometry geometry = page_geometry();
    const DisplayUnits units = display_units();
    for (Resolution screen : {Resolution{96, 96}, Resolution{96, 144}, Resolution{300, 200}}) {
        const ImageSize image = page_image_size(screen);
        for (int16_t paper = 1; paper <= 41; ++paper) {
            for (int16_t orientation : {int16_t(0), int16_t(1)}) {
                // Room for the page and the edge line after it.
                const PixelExtent page = extent_of(paper, orientation, screen, kLargestZoom);
                EXPECT_LE(page.width + 2, image.width) << paper << "/" << orientation;
                EXPECT_LE(page.height + 2, image.height) << paper << "/" << orientation;
            }
        }
    }
    // Ledger landscape: 17 inches down, 2040 rows at 125 %, where a
    // 17.5-inch image holds 1680.
    EXPECT_EQ(extent_of(4, 1, Resolution{96, 96}, 1.25).height, 2040);
    EXPECT_EQ(page_image_size(Resolution{0, -5}).width, page_image_size(Resolution{96, 96}).width);
    page_geometry() = geometry;
    display_units() = units;
}

TEST(PageImageSize, GrowsOnlyWhereNeededAndWithinTheCaps) {
    const ImageSize image{2166, 2166};
    ImageSize held = image_size_holding(image, PixelExtent{2164, 2164});
    EXPECT_EQ(held.width, 2166);
    EXPECT_EQ(held.height, 2166);
    held = image_size_holding(image, PixelExtent{1893, 2450});  // Letter at fit width 232 %
    EXPECT_EQ(held.width, 2166);
    EXPECT_EQ(held.height, 2452);
    EXPECT_EQ(image_size_holding(image, PixelExtent{1000, 40000}).height, kMaxImageSide);
    held = image_size_holding(image, PixelExtent{12000, 12000});  // over the pixel budget
    EXPECT_EQ(held.width, 12002);
    EXPECT_LE(int64_t(held.width) * held.height, kMaxImagePixels);
}

// After a large page the image goes back to its set-up size; when a large
// image cannot be made, the largest that can is taken, and when none can
// the image stays as it was.
TEST(PageImageSize, ShrinksAgainAndFallsBackToTheLargestThatWorks) {
    const ImageSize base{2166, 2166};
    const ImageSize grown{2166, 9000};
    std::vector<ImageSize> made;
    auto make_any = [&](ImageSize size) {
        made.push_back(size);
        return true;
    };
    ImageSize now = settle_image_size(grown, base, PixelExtent{816, 1056}, make_any);
    EXPECT_EQ(now.height, 2166);
    ASSERT_EQ(made.size(), 1u);

    // No more than 12 million pixels can be made.
    auto make_small = [](ImageSize size) { return int64_t(size.width) * size.height <= 12000000; };
    now = settle_image_size(base, base, PixelExtent{2164, 9998}, make_small);
    EXPECT_GT(now.height, 2166);
    EXPECT_LE(int64_t(now.width) * now.height, 12000000);
    EXPECT_GT(int64_t(now.width) * (now.height + (now.height - 2166)), 12000000)
        << "a step larger would have fitted";

    auto make_none = [](ImageSize) { return false; };
    now = settle_image_size(grown, base, PixelExtent{2164, 20000}, make_none);
    EXPECT_EQ(now.height, grown.height);
    now = settle_image_size(grown, base, PixelExtent{816, 1056}, make_none);
    EXPECT_EQ(now.height, grown.height);
}

// Letter portrait at 96 pixels per inch.
CopyInput letter(double zoom, int32_t area_width, int32_t area_height) {
    CopyInput in;
    in.zoom = zoom;
    in.area_width = area_width;
    in.area_height = area_height;
    return in;
}

TEST(PageImageCopy, ScrollPositionsSelectThePartShown) {
    // A page smaller than the area: whole, from the corner after the edge.
    CopyPlan plan = plan_copy(letter(0.75, 900, 900));
    EXPECT_FALSE(plan.stretch);
    EXPECT_EQ(plan.source_x, 1);
    EXPECT_EQ(plan.source_y, 1);
    EXPECT_EQ(plan.dest_width, 612);
    EXPECT_EQ(plan.dest_height, 792);
    // 1020 x 1320 at 125 % in 1000 x 600: position 100 ends the copy with
    // the page's right and bottom edges, 50 takes half the overflow.
    CopyInput in = letter(1.25, 1000, 600);
    in.horizontal_needed = in.vertical_needed = true;
    in.horizontal_position = 100;
    in.vertical_position = 100;
    plan = plan_copy(in);
    EXPECT_EQ(plan.source_x + plan.dest_width - 1, 1020);
    EXPECT_EQ(plan.source_y + plan.dest_height - 1, 1320);
    in.vertical_position = 50;
    EXPECT_EQ(plan_copy(in).source_y, 361);
    // A hidden bar's position cannot move a direction that fits.
    in = letter(1.0, 900, 500);
    in.vertical_needed = true;
    in.horizontal_position = 100;
    EXPECT_EQ(plan_copy(in).source_x, 1);
}

TEST(PageImageCopy, DisplayOption0x800ShrinksTheFullSizeImage) {
    EXPECT_EQ(drawn_zoom(0.75, kDisplayShrink), 1.0);
    EXPECT_EQ(drawn_zoom(1.25, kDisplayShrink), 1.25);
    EXPECT_EQ(drawn_zoom(0.75, 0), 0.75);
    CopyInput in = letter(0.75, 900, 600);
    in.display_option = kDisplayShrink;
    in.vertical_needed = true;
    in.vertical_position = 100;
    CopyPlan plan = plan_copy(in);
    EXPECT_TRUE(plan.stretch);
    EXPECT_EQ(plan.dest_width, 612);
    EXPECT_EQ(plan.source_width, 816);
    EXPECT_EQ(plan.source_height, 800);
    EXPECT_EQ(plan.source_y + plan.source_height - 1, 1056);  // same fraction of the overflow
    in.display_option = 0;
    plan = plan_copy(in);
    EXPECT_FALSE(plan.stretch);
    EXPECT_EQ(plan.source_y, 193);
    EXPECT_EQ(plan.source_height, 600);
}

}  // namespace
}  // namespace vell
