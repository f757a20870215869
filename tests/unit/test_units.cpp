// Device units and scaling: rounding, paper sizes, page geometry, page
// extents, the device mapping and the sizes derived from it.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "render_test_util.h"

namespace vell {
namespace {

using testing_render::RenderFixture;

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(round_half_even(1.5), 2);
    EXPECT_EQ(round_half_even(2.5), 2);
    EXPECT_EQ(round_half_even(3.5), 4);
    EXPECT_EQ(round_half_even(-0.5), 0);
    EXPECT_EQ(round_half_even(-1.5), -2);
    EXPECT_EQ(round_half_even(-2.5), -2);
    EXPECT_EQ(round_half_even(0.5), 0);
}

TEST(RoundHalfEven, OtherValuesGoToTheNearest) {
    EXPECT_EQ(round_half_even(0.49999), 0);
    EXPECT_EQ(round_half_even(0.50001), 1);
    EXPECT_EQ(round_half_even(2.6), 3);
    EXPECT_EQ(round_half_even(-2.6), -3);
    EXPECT_EQ(round_half_even(-2.4), -2);
    EXPECT_EQ(round_half_even(7.0), 7);
}

TEST(RoundHalfEven, CorruptValuesStayDefined) {
    EXPECT_EQ(round_half_even(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(round_half_even(1e300), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(round_half_even(-1e300), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(round_half_even(std::numeric_limits<double>::infinity()),
              std::numeric_limits<int32_t>::max());
}

TEST(PaperSize, InchSizesAsWindowsGivesThem) {
    struct Case { int code; float width, height; };
    const Case cases[] = {
        {1, 8.5f, 11.0f}, {4, 17.0f, 11.0f}, {5, 8.5f, 14.0f}, {7, 7.25f, 10.5f},
        {22, 4.75f, 11.0f}, {39, 14.875f, 11.0f}, {19, 3.875f, 8.875f}, {41, 8.5f, 13.0f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(paper_size(c.code, 1), c.width) << "code " << c.code;
        EXPECT_EQ(paper_size(c.code, 7), c.width) << "any non-zero selector is the width";
        EXPECT_EQ(paper_size(c.code, 0), c.height) << "code " << c.code;
    }
}

TEST(PaperSize, MillimetreSizesConvertInSinglePrecision) {
    struct Case { int code; float mm_width, mm_height; };
    const Case cases[] = {{8, 297, 420}, {9, 210, 297}, {35, 176, 125}, {12, 250, 354}, {27, 110, 220}};
    for (const Case& c : cases) {
        EXPECT_EQ(paper_size(c.code, 1), c.mm_width / 25.4f) << "code " << c.code;
        EXPECT_EQ(paper_size(c.code, 0), c.mm_height / 25.4f) << "code " << c.code;
    }
}

TEST(PaperSize, SheetsAndCodesOutsideTheTableAreLetter) {
    for (int code : {0, 42, -3, 24, 25, 26, 32767}) {
        EXPECT_EQ(paper_size(code, 1), 8.5f) << "code " << code;
        EXPECT_EQ(paper_size(code, 0), 11.0f) << "code " << code;
    }
}

class PageGeometryTest : public RenderFixture {};

PageHeader header_of(int16_t paper, int16_t orientation, int16_t source = 7) {
    PageHeader h;
    h.paper_size = paper;
    h.orientation = orientation;
    h.paper_source = source;
    return h;
}

TEST_F(PageGeometryTest, LetterAndA4ExtentsAt96PixelsPerInch) {
    run_page_geometry(header_of(1, 0), Resolution{96, 96});
    EXPECT_EQ(page_extent(1.0).width, 816);
    EXPECT_EQ(page_extent(1.0).height, 1056);
    EXPECT_EQ(page_extent(0.75).width, 612);
    EXPECT_EQ(page_extent(0.75).height, 792);

    run_page_geometry(header_of(9, 0), Resolution{96, 96});
    EXPECT_EQ(page_extent(1.0).width, 794);
    EXPECT_EQ(page_extent(1.0).height, 1123);
}

TEST_F(PageGeometryTest, LandscapeTurnsThePageAndTheResolutions) {
    run_page_geometry(header_of(1, 1), Resolution{96, 96});
    EXPECT_EQ(page_extent(1.0).width, 1056);
    EXPECT_EQ(page_extent(1.0).height, 816);
    EXPECT_EQ(page_geometry().width, 11.0f);
    EXPECT_EQ(page_geometry().height, 8.5f);

    // A screen with different resolutions across and down: landscape takes
    // them crosswise, portrait as they are.
    run_page_geometry(header_of(1, 1), Resolution{120, 96});
    EXPECT_EQ(display_units().horizontal, 96);
    EXPECT_EQ(display_units().vertical, 120);
    run_page_geometry(header_of(1, 0), Resolution{120, 96});
    EXPECT_EQ(display_units().horizontal, 120);
    EXPECT_EQ(display_units().vertical, 96);
    // Any orientation other than 1 is portrait.
    run_page_geometry(header_of(1, 2), Resolution{120, 96});
    EXPECT_EQ(page_geometry().width, 8.5f);
    EXPECT_EQ(display_units().horizontal, 120);
}

TEST_F(PageGeometryTest, KeepsTheHeaderFieldsAndRepairsThePaperCode) {
    run_page_geometry(header_of(35, 0, 4), Resolution{96, 96});
    EXPECT_EQ(page_geometry().paper_size, 35);
    EXPECT_EQ(page_geometry().paper_source, 4);
    EXPECT_EQ(page_geometry().width, 176.0f / 25.4f);
    for (int16_t code : {int16_t(0), int16_t(42), int16_t(25)}) {
        run_page_geometry(header_of(code, 0), Resolution{96, 96});
        EXPECT_EQ(page_geometry().width, 8.5f) << code;
        EXPECT_EQ(page_geometry().height, 11.0f) << code;
        EXPECT_EQ(page_geometry().paper_size, code == 25 ? 25 : 1);
    }
}

TEST_F(PageGeometryTest, ResolutionsBelowOneCountAs96) {
    run_page_geometry(header_of(1, 0), Resolution{0, -5});
    EXPECT_EQ(display_units().horizontal, 96);
    EXPECT_EQ(display_units().vertical, 96);
}

TEST_F(PageGeometryTest, DisplayUnitsAndDecimalSeparatorAtStartUp) {
    initialise_display_units(Resolution{120, 144}, ",");
    EXPECT_EQ(display_units().horizontal, 120);
    EXPECT_EQ(display_units().vertical, 144);
    EXPECT_EQ(decimal_separator().value, ',');

    initialise_display_units(Resolution{0, 0}, "");
    EXPECT_EQ(display_units().horizontal, 96);
    EXPECT_EQ(display_units().vertical, 96);
    EXPECT_EQ(decimal_separator().value, '.');

    // Only the first character counts; a blank one means the full stop.
    initialise_display_units(Resolution{96, 96}, " ,");
    EXPECT_EQ(decimal_separator().value, '.');
    initialise_display_units(Resolution{96, 96}, ";x");
    EXPECT_EQ(decimal_separator().value, ';');
}

TEST(DeviceMapping, PositionsRoundHalfToEven) {
    DeviceMapping at96{96, 96, 1.0, 0, 0};
    EXPECT_EQ(at96.map_x(1.0 / 64), 2);  // 1.5
    EXPECT_EQ(at96.map_y(1.0 / 64), 2);
    DeviceMapping at160{160, 160, 1.0, 0, 0};
    EXPECT_EQ(at160.map_x(1.0 / 64), 2);  // 2.5
    EXPECT_EQ(at160.map_x(3.0 / 64), 8);  // 7.5
    EXPECT_EQ(at160.map_y(-1.0 / 64), -2);
}

TEST(DeviceMapping, ResolutionsZoomAndOriginEachApply) {
    DeviceMapping printer{300, 600, 1.0, -50, -40};
    EXPECT_EQ(printer.map_x(0), -50);
    EXPECT_EQ(printer.map_y(0), -40);
    EXPECT_EQ(printer.map_x(1.0f), 250);
    EXPECT_EQ(printer.map_y(1.0f), 560);
    EXPECT_EQ(printer.length_x(2.0), 600);
    EXPECT_EQ(printer.length_y(2.0), 1200);

    DeviceMapping zoomed{96, 96, 1.25, 0, 0};
    EXPECT_EQ(zoomed.map_x(1.0f), 120);
    EXPECT_EQ(zoomed.length_y(8.5), 1020);
}

TEST(DeviceMapping, SinglePrecisionPositionsAreMultipliedInDouble) {
    // 0.1f is a little above 0.1; in double its product with 5 stays above
    // 0.5 and rounds up, where a float product would be exactly 0.5.
    DeviceMapping mapping{5, 5, 1.0, 0, 0};
    EXPECT_EQ(mapping.map_x(0.1f), 1);
}

TEST(DeviceMapping, PenWidthsFromPoints) {
    EXPECT_EQ((DeviceMapping{96, 96, 1.0, 0, 0}.pen_width(0.5)), 1);  // 0.667
    EXPECT_EQ((DeviceMapping{72, 72, 1.0, 0, 0}.pen_width(0.5)), 0);  // 0.5
    EXPECT_EQ((DeviceMapping{72, 72, 1.0, 0, 0}.pen_width(1.5)), 2);  // 1.5
    EXPECT_EQ((DeviceMapping{600, 96, 1.0, 0, 0}.pen_width(1.0)), 8);  // 8.33: horizontal resolution
    EXPECT_EQ((DeviceMapping{96, 96, 2.0, 0, 0}.pen_width(3.0)), 8);
}

TEST(DeviceMapping, SizesAndPositionsStayWithinWhatAPageCanShow) {
    // A million-point pen, a font of a million points and a box from
    // -1e30 to 1e30 inches: the largest paper (Envelope C3) is about 22.09
    // inches across its diagonal, 2120 pixels at 96 per inch.
    const DeviceMapping m{96, 96, 1.0, 0, 0};
    EXPECT_EQ(m.size_limit(), 2120);
    EXPECT_EQ(m.pen_width(1e6), 2120);
    EXPECT_EQ(m.pen_width(-1e6), -2120);
    EXPECT_EQ(font_height(1e6, 96), -2120);
    EXPECT_EQ(m.length_x(std::numeric_limits<double>::infinity()), 2120);
    // The box still covers the whole page, and its width is an int.
    const int64_t left = m.map_x(-1e30), right = m.map_x(1e30);
    EXPECT_LT(left, 0);
    EXPECT_GT(right, m.map_x(page_geometry().width));
    EXPECT_LE(right - left, int64_t(INT32_MAX));
    EXPECT_EQ(m.map_y(std::nan("")), 0);
}

TEST(DeviceMapping, LinesBeyondReachKeepTheirCourse) {
    const DeviceMapping m{96, 96, 1.0, 10, 20};
    DeviceLine line;
    // From the page's corner far down and right, twice as steep as wide:
    // cut where it leaves reach, it still climbs two pixels per pixel.
    ASSERT_TRUE(m.map_line(0, 0, 1e7, 2e7, &line));
    EXPECT_EQ(line.x1, 10);
    EXPECT_EQ(line.y1, 20);
    EXPECT_NEAR(double(line.y2 - 20), 2.0 * (line.x2 - 10), 2.0);
    EXPECT_LE(line.y2 - 20, 4 * m.size_limit());
    // Wholly beyond any page: nothing of it can show.
    EXPECT_FALSE(m.map_line(1e6, 0, 1e6, 1, &line));
    // Within reach, exactly the mapped ends.
    ASSERT_TRUE(m.map_line(1, 2, 3, 4, &line));
    EXPECT_EQ(line.x2, m.map_x(3));
    EXPECT_EQ(line.y2, m.map_y(4));
}

TEST(FontHeight, NegatedCharacterHeights) {
    EXPECT_EQ(font_height(12.0, 96), -16);
    EXPECT_EQ(font_height(10.0 * 1.25, 96), -17);
    EXPECT_EQ(font_height(8.0, 96), -11);
    EXPECT_EQ(font_height(0.0, 96), 0);
    EXPECT_EQ(font_height(9.0, 96), -12);
    EXPECT_EQ(font_height(10.0, 600), -83);
}

}  // namespace
}  // namespace vell
