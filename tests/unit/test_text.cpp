// Fonts and the six text records, rendered on the recording surface: the
// LOGFONTA of every font, where each text lands, and the box of boxed text.
#include <gtest/gtest.h>

#include <string>

#include "render/fonts.h"
#include "render/text_records.h"
#include "render_test_util.h"

namespace vell {
namespace {

using testing_render::RenderFixture;

// ---- Fonts -----------------------------------------------------------------

TEST(MakeLogFont, FieldsFromStyleSizeAndAngle) {
    LogFont bold_italic = make_logfont("Arial", 3, 12.0, 0, 96);
    EXPECT_EQ(bold_italic.height, -16);
    EXPECT_EQ(bold_italic.weight, 700);
    EXPECT_EQ(bold_italic.italic, 1);
    EXPECT_EQ(bold_italic.underline, 0);
    EXPECT_EQ(bold_italic.strike_out, 0);

    LogFont lined = make_logfont("Arial", 4 | 8 | 16, 10.0, 45, 96);
    EXPECT_EQ(lined.weight, 400);
    EXPECT_EQ(lined.italic, 0);
    EXPECT_EQ(lined.underline, 1);
    EXPECT_EQ(lined.strike_out, 1);
    EXPECT_EQ(lined.escapement, 450);
    EXPECT_EQ(lined.orientation, 450);

    // Everything the style does not choose is fixed.
    for (const LogFont& f : {bold_italic, lined}) {
        EXPECT_EQ(f.width, 0);
        EXPECT_EQ(f.char_set, 0);
        EXPECT_EQ(f.out_precision, 0);
        EXPECT_EQ(f.clip_precision, 0);
        EXPECT_EQ(f.quality, 2);
        EXPECT_EQ(f.pitch_and_family, 0);
    }
    EXPECT_EQ(make_logfont("Arial", 0, 10.0, -90, 96).escapement, -900);
}

TEST(MakeLogFont, FaceNamesTrimmedAndCutAt31) {
    const std::string forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
    ASSERT_EQ(forty.size(), 40u);
    EXPECT_EQ(std::string(make_logfont(forty, 0, 10, 0, 96).face_name), forty.substr(0, 31));
    EXPECT_EQ(std::string(make_logfont("  Courier New  ", 0, 10, 0, 96).face_name), "Courier New");
    EXPECT_EQ(std::string(make_logfont(std::string("Ari\0al", 6), 0, 10, 0, 96).face_name), "Ari");
}

// ---- Text records ------------------------------------------------------------

class TextRecords : public RenderFixture {
protected:
    // The initial font of every page: 8-point Arial for a 96 dpi screen.
    static LogFont initial_font() { return make_logfont("Arial", 0, 8.0, 0, 96); }
    static int width(const std::string& text) {
        return RecordingSurface::model_width(initial_font(), text);
    }
    static RecordedCall only_text_out(const RecordingSurface& surface) {
        auto calls = surface.calls_of(SurfaceOp::kTextOut);
        EXPECT_EQ(calls.size(), 1u);
        return calls.empty() ? RecordedCall() : calls[0];
    }
};

TEST_F(TextRecords, AlignedTextLeftCentreRight) {
    // x = 2 inches is pixel 192 at 96 dpi.
    const std::string text = "Total 42";
    for (int16_t alignment : {0, 1, 2, 4, -1}) {
        auto surface = render(PageBuilder().aligned_text(2.0f, 1.0f, alignment, text).bytes());
        RecordedCall call = only_text_out(surface);
        int shift = alignment == 1 ? width(text) / 2 : alignment == 2 ? width(text) : 0;
        EXPECT_EQ(call.args[0], 192 - shift) << "alignment " << alignment;
        EXPECT_EQ(call.args[1], 96);
        EXPECT_EQ(call.text, text);
        EXPECT_EQ(call.text_colour, 0u);
        EXPECT_EQ(call.bk_mode, 1);
    }
}

TEST_F(TextRecords, CentredTextOfOddWidthDropsTheHalfPixel) {
    // 3-point text at 96 dpi has a 4-pixel em: every "i" is one pixel.
    const std::string text(101, 'i');
    auto surface = render(PageBuilder().font(0, 3.0f, 0, "Arial").aligned_text(1.0f, 0, 1, text).bytes());
    EXPECT_EQ(only_text_out(surface).args[0], 96 - 50);
}

TEST_F(TextRecords, TrailingBlanksDoNotCountButAreDrawn) {
    auto surface = render(PageBuilder().aligned_text(2.0f, 0, 2, "ABC   ").bytes());
    RecordedCall call = only_text_out(surface);
    EXPECT_EQ(call.args[0], 192 - width("ABC"));
    EXPECT_EQ(call.text, "ABC   ");
    EXPECT_EQ(call.args[2], 6);
    // Leading blanks count: the measured part is the text as stored, as
    // long as the trimmed text.
    auto leading = render(PageBuilder().aligned_text(2.0f, 0, 2, "  AB").bytes());
    EXPECT_EQ(only_text_out(leading).args[0], 192 - width("  "));
}

TEST_F(TextRecords, DecimalAlignment) {
    struct Case { std::string text; std::string measured; };
    const Case cases[] = {
        {"12.50", "12."},    // the separator's right edge on x
        {"1250", "1250"},    // no separator: the text ends at x
        {".50", ".50"},      // separator first: the text ends at x
        {"1.5.0", "1."},     // the first separator counts
        {"3.25  ", "3."},
    };
    for (const Case& c : cases) {
        auto surface = render(PageBuilder().aligned_text(3.0f, 0, 3, c.text).bytes());
        EXPECT_EQ(only_text_out(surface).args[0], 288 - width(c.measured)) << c.text;
    }
}

TEST_F(TextRecords, DecimalAlignmentUsesTheProcessSeparator) {
    decimal_separator().value = ',';
    auto point = render(PageBuilder().aligned_text(3.0f, 0, 3, "12.50").bytes());
    EXPECT_EQ(only_text_out(point).args[0], 288 - width("12.50"));
    auto comma = render(PageBuilder().aligned_text(3.0f, 0, 3, "12,50").bytes());
    EXPECT_EQ(only_text_out(comma).args[0], 288 - width("12,"));
}

TEST_F(TextRecords, DecimalShiftMeasuresTheTrimmedText) {
    // The separator's position is found in the stored text and measured on
    // the trimmed one: "  7.5" has it at 4, so "7.5" (3 characters) counts.
    RecordingSurface surface;
    surface.select_object(surface.create_font_indirect(initial_font()));
    EXPECT_EQ(aligned_text_shift(surface, "  7.5", 3, '.'), width("7.5"));
    EXPECT_EQ(aligned_text_shift(surface, "  7.5", 2, '.'), width("  7"));
}

TEST_F(TextRecords, RotatedTextBeforeAnyFontRecord) {
    auto surface = render(PageBuilder().rotated_text(1.0f, 2.0f, 90, "Up").bytes());
    RecordedCall call = only_text_out(surface);
    EXPECT_EQ(call.args[0], 96);
    EXPECT_EQ(call.args[1], 192);
    EXPECT_EQ(std::string(call.font.face_name), "Arial");
    EXPECT_EQ(call.font.height, 0);  // the device's default height
    EXPECT_EQ(call.font.weight, 400);
    EXPECT_EQ(call.font.escapement, 900);
    EXPECT_EQ(call.font.orientation, 900);
    EXPECT_EQ(call.text_colour, 0u);
    expect_device_context_restored(surface);
}

TEST_F(TextRecords, RotatedTextUsesTheFontSettingsAndPutsTheFontBack) {
    zoom_factor().value = 1.25;
    auto surface = render(PageBuilder()
                              .font(1, 10.0f, 0x0000FF, "Times New Roman")
                              .rotated_text(1.0f, 1.0f, -30, "Slanted")
                              .aligned_text(1.0f, 2.0f, 0, "Flat")
                              .bytes());
    auto calls = surface.calls_of(SurfaceOp::kTextOut);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(std::string(calls[0].font.face_name), "Times New Roman");
    EXPECT_EQ(calls[0].font.height, -17);
    EXPECT_EQ(calls[0].font.weight, 700);
    EXPECT_EQ(calls[0].font.escapement, -300);
    EXPECT_EQ(calls[0].text_colour, 0x0000FFu);
    EXPECT_EQ(calls[0].args[0], 120);
    // The next text is back in the current, unrotated font.
    EXPECT_EQ(calls[1].font.escapement, 0);
    EXPECT_EQ(calls[1].font.height, -17);
    expect_device_context_restored(surface);
}

TEST_F(TextRecords, PageNumberAndTotal) {
    Target target;
    target.page_number = 7;
    target.page_count = 1234;
    auto surface = render(PageBuilder()
                              .page_number(2.0f, 1.0f, 2, 0)
                              .page_total(2.0f, 1.5f, 1, 0)
                              .page_number(2.0f, 2.0f, 3, 0)
                              .page_total(2.0f, 2.5f, 0, 0)
                              .bytes(),
                          target);
    auto calls = surface.calls_of(SurfaceOp::kTextOut);
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].text, "7");
    EXPECT_EQ(calls[0].args[0], 192 - width("7"));
    EXPECT_EQ(calls[1].text, "1234");
    EXPECT_EQ(calls[1].args[0], 192 - width("1234") / 2);
    EXPECT_EQ(calls[2].args[0], 192) << "no decimal alignment for numbers";
    EXPECT_EQ(calls[3].args[0], 192);
    EXPECT_EQ(calls[3].args[1], 240);
}

TEST_F(TextRecords, RotatedPageNumbersIgnoreAlignment) {
    Target target;
    target.page_number = 12;
    target.page_count = 30;
    auto surface = render(PageBuilder()
                              .font(0, 12.0f, 0x00FF00, "Arial")
                              .page_number(2.0f, 1.0f, 2, 90)
                              .page_total(2.0f, 1.0f, 1, 180)
                              .bytes(),
                          target);
    auto calls = surface.calls_of(SurfaceOp::kTextOut);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].text, "12");
    EXPECT_EQ(calls[0].args[0], 192);
    EXPECT_EQ(calls[0].font.escapement, 900);
    EXPECT_EQ(calls[0].font.height, -16);
    EXPECT_EQ(calls[0].text_colour, 0x00FF00u);
    EXPECT_EQ(calls[1].text, "30");
    EXPECT_EQ(calls[1].args[0], 192);
    EXPECT_EQ(calls[1].font.escapement, 1800);
    expect_device_context_restored(surface);
}

TEST_F(TextRecords, BoxedTextBoxAndAnchor) {
    const TextMetrics m = RecordingSurface::model_metrics(make_logfont("Arial", 0, 8.0, 0, 96));
    const int line = m.height + m.internal_leading + m.external_leading;
    struct Case { int16_t alignment; unsigned align; int left, right, anchor; };
    const Case cases[] = {
        {2, 2, 384, 480, 480},  // right: x is the right edge
        {1, 6, 432, 528, 480},  // centre: x is the middle
        {0, 0, 480, 576, 480},  // left
        {3, 0, 480, 576, 480},  // anything else is left
    };
    for (const Case& c : cases) {
        auto surface = render(PageBuilder().boxed_text(5.0f, 1.0f, 1.0f, c.alignment, "Boxed").bytes());
        auto calls = surface.calls_of(SurfaceOp::kExtTextOut);
        ASSERT_EQ(calls.size(), 1u);
        const RecordedCall& call = calls[0];
        EXPECT_EQ(call.args[0], c.anchor) << c.alignment;
        EXPECT_EQ(call.args[1], 96);
        EXPECT_EQ(call.args[2], 6) << "ETO_OPAQUE | ETO_CLIPPED";
        EXPECT_EQ(call.text, "Boxed");
        ASSERT_TRUE(call.has_rect);
        EXPECT_EQ(call.rect.left, c.left) << c.alignment;
        EXPECT_EQ(call.rect.right, c.right) << c.alignment;
        EXPECT_EQ(call.rect.top, 96);
        EXPECT_EQ(call.rect.bottom, 96 + line);
        EXPECT_EQ(call.text_align, c.align) << c.alignment;
        EXPECT_EQ(surface.text_align(), 0u) << "set back to TA_LEFT | TA_TOP";
    }
}

TEST_F(TextRecords, BoxedTextHeightFollowsZoom) {
    zoom_factor().value = 1.25;
    auto surface = render(PageBuilder().font(0, 10.0f, 0, "Arial").boxed_text(1.0f, 1.0f, 2.0f, 0, "x").bytes());
    const TextMetrics m = RecordingSurface::model_metrics(make_logfont("Arial", 0, 12.5, 0, 96));
    const int line = m.height + m.internal_leading + m.external_leading;
    auto call = surface.calls_of(SurfaceOp::kExtTextOut).at(0);
    EXPECT_EQ(call.rect.top, 120);
    EXPECT_EQ(call.rect.bottom, 120 + round_half_even(1.25 * line));
    EXPECT_EQ(call.rect.right - call.rect.left, 240);
}

TEST_F(TextRecords, WrappedTextGoesToDrawTextEx) {
    const std::string text = "  A long line\r\nthat wraps  ";
    auto surface = render(PageBuilder().wrapped_text(1.0f, 2.0f, 3.5f, 2.5f, text).bytes());
    auto calls = surface.calls_of(SurfaceOp::kDrawTextEx);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].text, text) << "neither trimmed nor measured";
    EXPECT_EQ(calls[0].args[0], -1);
    EXPECT_EQ(calls[0].args[1], 0x2010);
    EXPECT_EQ(calls[0].rect.left, 96);
    EXPECT_EQ(calls[0].rect.top, 192);
    EXPECT_EQ(calls[0].rect.right, 336);
    EXPECT_EQ(calls[0].rect.bottom, 240);
    EXPECT_TRUE(surface.calls_of(SurfaceOp::kTextExtent).empty());
}

TEST_F(TextRecords, TextsAreCutAtTheirFirstNul) {
    auto surface = render(PageBuilder()
                              .aligned_text(1.0f, 1.0f, 2, std::string("Cut\0here", 8))
                              .wrapped_text(0, 0, 1, 1, std::string("Wrap\0no", 7))
                              .aligned_text(1.0f, 2.0f, 0, "Next")
                              .bytes());
    auto calls = surface.calls_of(SurfaceOp::kTextOut);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].text, "Cut");
    EXPECT_EQ(calls[0].args[0], 96 - width("Cut"));
    EXPECT_EQ(calls[1].text, "Next") << "the stream moved past the whole text";
    EXPECT_EQ(surface.calls_of(SurfaceOp::kDrawTextEx).at(0).text, "Wrap");
}

TEST_F(TextRecords, FontRecordColourAppliesToLaterTexts) {
    auto surface = render(PageBuilder()
                              .aligned_text(1, 1, 0, "black")
                              .font(0, 9.0f, 0x123456, "Arial")
                              .aligned_text(1, 2, 0, "coloured")
                              .boxed_text(1, 3, 1, 0, "boxed")
                              .bytes());
    auto texts = surface.calls_of(SurfaceOp::kTextOut);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text_colour, 0u);
    EXPECT_EQ(texts[1].text_colour, 0x123456u);
    EXPECT_EQ(texts[1].font.height, -12);
    EXPECT_EQ(surface.calls_of(SurfaceOp::kExtTextOut).at(0).text_colour, 0x123456u);
}

}  // namespace
}  // namespace vell
