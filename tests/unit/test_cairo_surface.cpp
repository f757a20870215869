// The cairo surface's own rules, on cairo image surfaces: GDI's pixel
// edges for rectangles and lines, pen widths, fonts resolved through
// fontconfig with GDI's metrics, word breaks, background modes, pictures
// and the printer's page steps.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "render/cairo_fonts.h"
#include "render/cairo_surface.h"
#include "render/fonts.h"
#include "render/interpreter.h"
#include "render_test_util.h"

namespace vell {
namespace {

// A white image with a cairo surface drawing on it at 96 pixels per inch.
class CairoPage : public ::testing::Test {
protected:
    CairoPage()
        : image_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 200, 120)),
          cr_(cairo_create(image_)),
          surface_(cr_, Resolution{96, 96}, Resolution{96, 96}) {
        cairo_set_source_rgb(cr_, 1, 1, 1);
        cairo_paint(cr_);
    }
    ~CairoPage() override {
        cairo_destroy(cr_);
        cairo_surface_destroy(image_);
    }
    // 0x00RRGGBB of a pixel.
    uint32_t at(int x, int y) {
        surface_.flush_text();
        cairo_surface_flush(image_);
        const unsigned char* row = cairo_image_surface_get_data(image_) +
                                   size_t(y) * size_t(cairo_image_surface_get_stride(image_));
        return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
    }
    bool dark(int x, int y) {
        const uint32_t p = at(x, y);
        return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 3 * 128;
    }
    int dark_in_column(int x) {
        int n = 0;
        for (int y = 0; y < 120; ++y) n += dark(x, y);
        return n;
    }
    void select_font(const char* face, int height) {
        LogFont font;
        font.height = height;
        font.weight = gdi::kFwNormal;
        std::strcpy(font.face_name, face);
        surface_.select_object(surface_.create_font_indirect(font));
    }

    cairo_surface_t* image_;
    cairo_t* cr_;
    CairoSurface surface_;
};

TEST_F(CairoPage, RectangleTakesLeftAndTopButNotRightAndBottom) {
    surface_.select_object(surface_.create_pen(gdi::kPsSolid, 1, 0x000000));
    surface_.select_object(surface_.create_solid_brush(0x0000FF));  // red
    surface_.rectangle(10, 10, 20, 15);
    EXPECT_EQ(at(10, 10), 0x000000u);
    EXPECT_EQ(at(19, 14), 0x000000u);   // the last pixel of the outline
    EXPECT_EQ(at(15, 12), 0xFF0000u);   // the fill
    EXPECT_EQ(at(20, 12), 0xFFFFFFu);   // right edge excluded
    EXPECT_EQ(at(15, 15), 0xFFFFFFu);   // bottom edge excluded
    EXPECT_EQ(at(9, 9), 0xFFFFFFu);
}

TEST_F(CairoPage, FiguresAtTheEdgesOfTheIntRangeStayDefinedAndABoxOverThePageFillsIt) {
    surface_.select_object(surface_.create_pen(gdi::kPsSolid, 3, 0x000000));
    surface_.select_object(surface_.create_solid_brush(0x0000FF));  // red
    surface_.rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    EXPECT_EQ(at(0, 0), 0xFF0000u);
    EXPECT_EQ(at(199, 119), 0xFF0000u);
    // A line from far outside across the page keeps its course.
    surface_.move_to(INT32_MIN, 60);
    surface_.line_to(INT32_MAX, 60);
    EXPECT_EQ(at(100, 60), 0x000000u);
    EXPECT_EQ(at(100, 30), 0xFF0000u);
    const SurfaceRect far{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    SurfaceRect wrap = far;
    select_font("Arial", -12);
    surface_.ext_text_out(INT32_MAX, INT32_MIN, gdi::kEtoOpaque | gdi::kEtoClipped, &far, "x", 1);
    // One line: the box is as wide as the int range.
    EXPECT_EQ(surface_.draw_text_ex("far away", &wrap, gdi::kDtWordBreak | gdi::kDtEditControl),
              surface_.text_metrics().height);
}

TEST_F(CairoPage, LinesStopBeforeTheirLastPointInEitherDirection) {
    surface_.move_to(5, 5);
    surface_.line_to(15, 5);
    EXPECT_TRUE(dark(5, 5));
    EXPECT_TRUE(dark(14, 5));
    EXPECT_FALSE(dark(15, 5));
    EXPECT_FALSE(dark(10, 4));
    EXPECT_FALSE(dark(10, 6));
    surface_.move_to(40, 30);
    surface_.line_to(40, 20);  // upwards
    EXPECT_TRUE(dark(40, 30));
    EXPECT_TRUE(dark(40, 21));
    EXPECT_FALSE(dark(40, 20));
}

TEST_F(CairoPage, PenWidthsAreWholePixelsAndZeroIsTheThinnest) {
    // Dark pixels across row 65 from `from` up to `to` after a vertical
    // line at x, from y 50 to 80 on the image, with a pen of that width;
    // `units` drawing units make one pixel of the image.
    auto line_width = [this](int width, int x, int from, int to, int units = 1) {
        surface_.select_object(surface_.create_pen(gdi::kPsSolid, width, 0));
        surface_.move_to(x, 50 * units);
        surface_.line_to(x, 80 * units);
        int dark_pixels = 0;
        for (int column = from; column < to; ++column) dark_pixels += dark(column, 65);
        return dark_pixels;
    };
    EXPECT_EQ(line_width(3, 50, 45, 56), 3);
    EXPECT_EQ(line_width(0, 100, 99, 102), 1);
    // On a scaled page (a PDF's points) a pen keeps its width in pixels.
    cairo_scale(cr_, 0.5, 0.5);
    EXPECT_EQ(line_width(12, 300, 140, 161, 2), 6);
}

// A scalable page fills level lines and outlines instead of stroking
// them: the same pixels, save the corners a wide pen rounds.
TEST(CairoScalablePage, LevelLinesAndOutlinesFillThePixelsTheirStrokesSet) {
    auto draw = [](bool scalable) {
        cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 120, 80);
        cairo_t* cr = cairo_create(image);
        {
            CairoSurface surface(cr, Resolution{96, 96}, Resolution{96, 96});
            surface.set_scalable_page(scalable);
            surface.select_object(surface.create_solid_brush(0x0000FF));
            for (int width : {1, 5}) {
                const int y = width == 1 ? 5 : 45;
                surface.select_object(surface.create_pen(gdi::kPsSolid, width, 0x00FF00));
                surface.move_to(10, y);
                surface.line_to(30, y);
                surface.line_to(30, y + 20);
                surface.line_to(20, y + 20);
                surface.move_to(16, y + 18);
                surface.line_to(16, y + 8);
                surface.rectangle(50, y, 70, y + 15);
                surface.rectangle(90, y, 92, y + 3);  // all outline
            }
        }
        cairo_surface_flush(image);
        std::vector<uint32_t> pixels;
        for (int y = 0; y < 80; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(
                cairo_image_surface_get_data(image) + y * cairo_image_surface_get_stride(image));
            for (int x = 0; x < 120; ++x) pixels.push_back(row[x] & 0xFFFFFF);
        }
        cairo_destroy(cr);
        cairo_surface_destroy(image);
        return pixels;
    };
    const std::vector<uint32_t> stroked = draw(false), filled = draw(true);
    int differing_thin = 0, differing_wide = 0;
    for (size_t i = 0; i < stroked.size(); ++i)
        if (stroked[i] != filled[i]) ++(i / 120 < 40 ? differing_thin : differing_wide);
    EXPECT_EQ(differing_thin, 0);
    // Eight line ends and eight box corners, a few pixels each.
    EXPECT_LE(differing_wide, 16 * 2);
    EXPECT_EQ(filled[size_t(52 * 120 + 60)], 0xFF0000u);  // the wide box's inside
}

TEST(CairoFonts, WindowsFacesResolveToTheirMetricCompatibleLiberationFaces) {
    EXPECT_EQ(resolve_font_file("Arial", false, false).family, "Liberation Sans");
    EXPECT_EQ(resolve_font_file("Times New Roman", false, false).family, "Liberation Serif");
    EXPECT_EQ(resolve_font_file("Courier New", false, false).family, "Liberation Mono");
    EXPECT_NE(resolve_font_file("Arial", true, true).path.find("BoldItalic"), std::string::npos);
}

TEST(CairoFonts, FontsAreSharedByTheFileTheirNamesComeToAndTheCacheIsBounded) {
    FontCache cache;
    LogFont a;
    a.height = -16;
    std::strcpy(a.face_name, "No Such Face 1");
    LogFont b = a;
    std::strcpy(b.face_name, "No Such Face 2");
    const std::shared_ptr<CairoFont> first = cache.font(a);
    ASSERT_TRUE(first);
    EXPECT_EQ(cache.font(b), first);  // both names come to the default face
    for (int height = 1; height <= 1000; ++height) {
        a.height = -height;
        ASSERT_TRUE(cache.font(a));
    }
    EXPECT_LE(cache.cached_fonts(), FontCache::kFonts);
    // Forgotten by the cache, a font someone holds stays whole.
    EXPECT_EQ(first->metrics.height, cache.font(b)->metrics.height);
    EXPECT_GT(first->metrics.height, 16);
}

TEST_F(CairoPage, MetricsAndExtentsComeFromTheFontAsGdiScalesIt) {
    // Liberation Sans: 2048 units, Windows ascent 1854, descent 434.
    select_font("Arial", -32);
    const TextMetrics m = surface_.text_metrics();
    EXPECT_EQ(m.ascent, 29);   // 1854 x 32 / 2048 = 28.97
    EXPECT_EQ(m.descent, 7);   // 434 x 32 / 2048 = 6.78
    EXPECT_EQ(m.height, 36);
    EXPECT_EQ(m.internal_leading, 4);  // (2288 - 2048) x 32 / 2048 = 3.75
    // Monospaced Liberation Mono: every character advances 1229 / 2048 em.
    select_font("Courier New", -20);
    EXPECT_EQ(surface_.text_extent("iiii", 4).cx, 4 * surface_.text_extent("M", 1).cx);
    EXPECT_EQ(surface_.text_extent("M", 1).cx, 12);
    EXPECT_EQ(surface_.text_extent("M", 1).cy, surface_.text_metrics().height);
    // A positive height is the cell: ascent plus descent.
    select_font("Arial", 36);
    EXPECT_EQ(surface_.text_metrics().height, 36);
}

// GDI smooths a size only where the font's grid-fitting table says so:
// Liberation Sans from 18 pixels, its bold from 11; smaller text is black
// and white.
TEST_F(CairoPage, TextIsSmoothedOnlyAtTheSizesTheFontAsksFor) {
    const auto grey_pixels = [this](const char* face, int height, int weight) {
        cairo_set_source_rgb(cr_, 1, 1, 1);
        cairo_paint(cr_);
        LogFont font;
        font.height = height;
        font.weight = weight;
        std::strcpy(font.face_name, face);
        surface_.select_object(surface_.create_font_indirect(font));
        surface_.text_out(2, 2, "Smooth ago", 10);
        int grey = 0;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 200; ++x) grey += at(x, y) != 0 && at(x, y) != 0xFFFFFF;
        return grey;
    };
    EXPECT_EQ(grey_pixels("Arial", -12, gdi::kFwNormal), 0);
    EXPECT_GT(grey_pixels("Arial", -24, gdi::kFwNormal), 0);
    EXPECT_GT(grey_pixels("Arial", -12, gdi::kFwBold), 0);
    EXPECT_EQ(grey_pixels("Arial", -10, gdi::kFwBold), 0);
}

TEST_F(CairoPage, WrappedTextBreaksAtBlanksAndLeavesOutAPartlyVisibleNextLine) {
    select_font("Courier New", -20);  // 12 pixels a character, 23 a line
    const int line = surface_.text_metrics().height;
    // "aaaa bbbb cccc" in 10 characters: two lines, and a third that the
    // rectangle would show only in part is not drawn.
    SurfaceRect rect{0, 0, 120, 2 * line + line / 2};
    const int height = surface_.draw_text_ex("aaaa bbbb cccc", &rect, gdi::kDtWordBreak | gdi::kDtEditControl);
    EXPECT_EQ(height, 2 * line);
    int first_line = 0, second_line = 0, third_line = 0;
    for (int x = 0; x < 120; ++x)
        for (int y = 0; y < line; ++y) {
            first_line += dark(x, y);
            second_line += dark(x, y + line);
            if (y + 2 * line < 120) third_line += dark(x, y + 2 * line);
        }
    EXPECT_GT(first_line, 0);
    EXPECT_GT(second_line, 0);
    EXPECT_EQ(third_line, 0);
    // "bbbb" stands at the start of the second line, not after a blank.
    EXPECT_GT(dark_in_column(2) + dark_in_column(3) + dark_in_column(4), 0);
}

// Texts are drawn in runs, and a run must not end up over a box drawn
// after it, nor take the colour of the text after it.
TEST_F(CairoPage, TextsAndBoxesKeepTheirOrderAndColours) {
    select_font("Arial", -40);
    surface_.set_bk_mode(gdi::kTransparent);
    surface_.text_out(10, 10, "WW", 2);  // black
    surface_.select_object(surface_.create_pen(gdi::kPsSolid, 1, 0x0000FF));
    surface_.select_object(surface_.create_solid_brush(0x0000FF));
    surface_.rectangle(0, 0, 100, 60);  // red over the black text
    surface_.set_text_color(0xFF0000);
    surface_.text_out(10, 70, "WW", 2);  // blue
    int black = 0, blue = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 200; ++x) {
            black += at(x, y) == 0x000000u;
            blue += at(x, y) == 0x0000FFu;
        }
    EXPECT_EQ(black, 0);
    EXPECT_GT(blue, 0);
}

// A clipped text sets its font within a saved state; the plain text in
// that font after it must still be drawn in it, not in the one before.
TEST_F(CairoPage, TextAfterAClippedTextInItsFontKeepsTheFont) {
    surface_.set_bk_mode(gdi::kTransparent);
    const auto lower_half = [this] {
        std::vector<uint32_t> pixels;
        for (int y = 60; y < 120; ++y)
            for (int x = 0; x < 200; ++x) pixels.push_back(at(x, y));
        return pixels;
    };
    select_font("Courier New", -30);
    surface_.text_out(10, 70, "Mono", 4);
    const std::vector<uint32_t> alone = lower_half();
    cairo_set_source_rgb(cr_, 1, 1, 1);
    cairo_paint(cr_);
    select_font("Arial", -30);
    surface_.text_out(10, 0, "Sans", 4);
    select_font("Courier New", -30);
    SurfaceRect box{100, 0, 200, 40};
    surface_.ext_text_out(100, 0, gdi::kEtoClipped, &box, "Clip", 4);
    surface_.text_out(10, 70, "Mono", 4);
    EXPECT_EQ(lower_half(), alone);
}

TEST_F(CairoPage, OpaqueBoxedTextFillsItsBoxAndClipsTheText) {
    cairo_set_source_rgb(cr_, 0, 0, 0);
    cairo_paint(cr_);
    select_font("Arial", -20);
    SurfaceRect box{10, 10, 40, 40};
    surface_.set_bk_mode(gdi::kTransparent);
    surface_.ext_text_out(10, 10, gdi::kEtoOpaque | gdi::kEtoClipped, &box, "WWWWWWWW", 8);
    EXPECT_EQ(at(39, 39), 0xFFFFFFu);  // the box took the background colour
    EXPECT_EQ(at(40, 20), 0x000000u);  // nothing beyond it
    EXPECT_EQ(at(60, 20), 0x000000u);
}

TEST_F(CairoPage, PicturesAreDecodedAndStretchedOntoTheirBox) {
    testing_render::TempDir dir;
    // A 2 x 1 bitmap, bottom-up BGR: blue then red.
    Bytes bmp = testing_render::bitmap_file(2, 1);
    bmp[54] = 0xFF; bmp[55] = 0; bmp[56] = 0;
    bmp[57] = 0; bmp[58] = 0; bmp[59] = 0xFF;
    const std::string path = dir.file("two.bmp");
    ASSERT_TRUE(write_file(path, bmp));
    const SurfaceHandle bitmap = surface_.load_bitmap_file(path.c_str());
    ASSERT_NE(bitmap, 0u);
    EXPECT_EQ(surface_.load_bitmap_file(dir.file("missing.bmp").c_str()), 0u);
    const SurfaceHandle dc = surface_.create_picture_dc();
    const SurfaceHandle previous = surface_.select_into(dc, bitmap);
    surface_.stretch_blt(100, 10, 40, 20, dc, 0, 0, 2, 1, gdi::kSrcCopy);
    EXPECT_EQ(at(100, 10), 0x0000FFu);
    EXPECT_EQ(at(119, 29), 0x0000FFu);
    EXPECT_EQ(at(120, 10), 0xFF0000u);
    EXPECT_EQ(at(139, 29), 0xFF0000u);
    EXPECT_EQ(at(140, 10), 0xFFFFFFu);
    EXPECT_FALSE(surface_.delete_object(bitmap));  // still selected
    surface_.select_into(dc, previous);
    EXPECT_TRUE(surface_.delete_object(bitmap));
    EXPECT_TRUE(surface_.delete_dc(dc));
}

TEST(CairoPrinterPages, EachPageStartsWithThePaperItsResetAsked) {
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 4, 4);
    cairo_t* cr = cairo_create(image);
    CairoSurface surface(cr, Resolution{600, 600}, Resolution{96, 96});
    std::vector<PaperPage> started;
    surface.on_page_start([&](const PaperPage& paper) { started.push_back(paper); });
    std::vector<uint8_t> settings(kPrinterSettingsSize, 0);
    set_page_printer_settings(settings.data(), 5, 0, 7);  // Legal portrait
    surface.reset_dc(settings.data(), settings.size());
    surface.start_page();
    EXPECT_EQ(surface.device_caps(111), 14 * 600);  // PHYSICALHEIGHT
    set_page_printer_settings(settings.data(), 9, 1, 7);  // A4 landscape
    surface.reset_dc(settings.data(), settings.size());
    surface.start_page();
    ASSERT_EQ(started.size(), 2u);
    EXPECT_DOUBLE_EQ(started[0].height, 14.0);
    EXPECT_NEAR(started[1].width, 297 / 25.4, 1e-4);
    EXPECT_NEAR(started[1].height, 210 / 25.4, 1e-4);
    EXPECT_EQ(surface.device_caps(gdi::kLogPixelsY), 600);
    cairo_destroy(cr);
    cairo_surface_destroy(image);
}

}  // namespace
}  // namespace vell
