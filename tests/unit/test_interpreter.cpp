// The page record interpreter on the recording surface: the drawing state
// and what it puts back, the dispatch loop on well-formed and broken pages,
// lines and boxes, the screen and printer paths, labels and settings.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "document/document.h"
#include "render/fonts.h"
#include "render/pictures.h"
#include "render/records.h"
#include "render_test_util.h"
#include "ui_text/labels.h"

namespace vell {
namespace {

using testing_render::RenderFixture;

class Interpreter : public RenderFixture {};

std::vector<SurfaceOp> ops_of(const RecordingSurface& surface) {
    std::vector<SurfaceOp> ops;
    for (const RecordedCall& call : surface.calls()) ops.push_back(call.op);
    return ops;
}

// ---- Drawing state -------------------------------------------------------------

TEST_F(Interpreter, SetsUpItsObjectsAndTheTextModes) {
    auto surface = render(PageBuilder().end_of_page().bytes());
    const auto& calls = surface.calls();
    ASSERT_GE(calls.size(), 9u);
    EXPECT_EQ(calls[0].op, SurfaceOp::kCreateSolidBrush);
    EXPECT_EQ(calls[0].args, (std::vector<int64_t>{0}));
    EXPECT_EQ(calls[1].op, SurfaceOp::kSelectObject);
    EXPECT_EQ(calls[1].args[0], int64_t(calls[0].result));

    auto fonts = surface.calls_of(SurfaceOp::kCreateFont);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(std::string(fonts[0].font.face_name), "Arial");
    EXPECT_EQ(fonts[0].font.height, -11);
    EXPECT_EQ(fonts[0].font.weight, 400);

    auto pens = surface.calls_of(SurfaceOp::kCreatePen);
    ASSERT_EQ(pens.size(), 1u);
    EXPECT_EQ(pens[0].args, (std::vector<int64_t>{0, 1, 0}));

    auto colours = surface.calls_of(SurfaceOp::kSetTextColor);
    ASSERT_EQ(colours.size(), 1u);
    EXPECT_EQ(colours[0].args[0], 0);
    auto modes = surface.calls_of(SurfaceOp::kSetBkMode);
    ASSERT_EQ(modes.size(), 1u);
    EXPECT_EQ(modes[0].args[0], 1);
    expect_device_context_restored(surface);
}

TEST_F(Interpreter, InitialFontIsTheScreenFontWhateverTheTarget) {
    Target printer;
    printer.device = Resolution{600, 600};
    printer.desktop = Resolution{120, 120};
    printer.resolution_x = printer.resolution_y = 600;
    auto surface = render(PageBuilder().aligned_text(0, 0, 0, "x").bytes(), printer);
    auto text = surface.calls_of(SurfaceOp::kTextOut).at(0);
    EXPECT_EQ(text.font.height, -13);  // 8 points for a 120 dpi screen
    EXPECT_EQ(std::string(text.font.face_name), "Arial");
}

TEST_F(Interpreter, FontRecordsReplaceTheCurrentFont) {
    Target printer;
    printer.device = Resolution{300, 300};
    auto surface = render(PageBuilder()
                              .font(3, 12.0f, 0x0000FF, "  Courier New  ")
                              .font(0, 10.0f, 0x00FF00, "Arial")
                              .bytes(),
                          printer);
    auto fonts = surface.calls_of(SurfaceOp::kCreateFont);
    ASSERT_EQ(fonts.size(), 3u);
    EXPECT_EQ(std::string(fonts[1].font.face_name), "Courier New");
    EXPECT_EQ(fonts[1].font.height, -50) << "the target's own LOGPIXELSY";
    EXPECT_EQ(fonts[1].font.weight, 700);
    EXPECT_EQ(fonts[1].font.italic, 1);
    EXPECT_EQ(fonts[2].font.height, round_half_even(-300.0 * 10 / 72));
    // Each font is deleted only after the caller's font is selected again.
    const auto& calls = surface.calls();
    for (size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].op != SurfaceOp::kDeleteObject) continue;
        if (calls[i].args[0] != int64_t(fonts[0].result) && calls[i].args[0] != int64_t(fonts[1].result))
            continue;
        ASSERT_GT(i, 0u);
        EXPECT_EQ(calls[i - 1].op, SurfaceOp::kSelectObject);
        EXPECT_EQ(calls[i - 1].args[0], int64_t(surface.stock_font()));
    }
    auto colours = surface.calls_of(SurfaceOp::kSetTextColor);
    ASSERT_EQ(colours.size(), 3u);
    EXPECT_EQ(colours[1].args[0], 0x0000FF);
    EXPECT_EQ(colours[2].args[0], 0x00FF00);
    expect_device_context_restored(surface);
}

TEST_F(Interpreter, PutsBackWhatTheCallerHadSelected) {
    RecordingSurface surface;
    SurfaceHandle callers_pen = surface.create_pen(0, 3, 0x999999);
    SurfaceHandle callers_brush = surface.create_solid_brush(0xFFFFFF);
    SurfaceHandle callers_font = surface.create_font_indirect(make_logfont("Arial", 0, 9, 0, 96));
    surface.select_object(callers_pen);
    surface.select_object(callers_brush);
    surface.select_object(callers_font);
    render_into(surface,
                PageBuilder()
                    .font(1, 14, 0xFF, "Arial")
                    .line(0, 0, 1, 1, 2, 0xFF)
                    .box(1, 1, 2, 2, -1, 0xFF00, 0)
                    .rotated_text(1, 1, 45, "r")
                    .bytes(),
                Target());
    EXPECT_EQ(surface.selected_pen(), callers_pen);
    EXPECT_EQ(surface.selected_brush(), callers_brush);
    EXPECT_EQ(surface.selected_font(), callers_font);
    EXPECT_EQ(surface.live_objects(), 3u) << "only the caller's own objects are left";
    EXPECT_TRUE(surface.problems().empty());
}

TEST_F(Interpreter, ObjectsThatCannotBeMadeLeaveValidOnesSelected) {
    const Bytes page = PageBuilder()
                           .font(1, 14, 0xFF, "Arial")
                           .line(0, 0, 1, 1, 2, 0xFF)
                           .box(1, 1, 2, 2, 1, 0xFF00, 0)
                           .rotated_text(1, 1, 45, "r")
                           .bytes();
    // The interpreter's first brush, font and pen fail, the page's later
    // ones are made; then every creation fails.
    for (int failing : {3, 1000}) {
        RecordingSurface surface;
        surface.fail_next_creations(failing);
        render_into(surface, page, Target());
        EXPECT_EQ(surface.calls_of(SurfaceOp::kTextOut).size(), 1u) << failing;
        expect_device_context_restored(surface);
    }
}

TEST_F(Interpreter, FaceNamesEndAtTheirFirstNul) {
    auto surface = render(PageBuilder().font(0, 10, 0, std::string("Arial  \0junk", 12)).bytes());
    auto fonts = surface.calls_of(SurfaceOp::kCreateFont);
    ASSERT_EQ(fonts.size(), 2u);
    EXPECT_EQ(std::string(fonts[1].font.face_name), "Arial");
}

// ---- The record loop ---------------------------------------------------------------

TEST_F(Interpreter, EndOfPageRecordsStopTheLoop) {
    for (int16_t end : {1, 9}) {
        auto first = render(PageBuilder().end_of_page(end).aligned_text(0, 0, 0, "after").bytes());
        EXPECT_TRUE(texts_out(first).empty()) << end;
        auto middle = render(PageBuilder().aligned_text(0, 0, 0, "before").end_of_page(end)
                                 .aligned_text(0, 0, 0, "after").bytes());
        EXPECT_EQ(texts_out(middle), std::vector<std::string>{"before"}) << end;
        expect_device_context_restored(middle);
    }
}

TEST_F(Interpreter, AStreamWithoutEndRecordEndsAtTheLastByte) {
    auto surface = render(PageBuilder().aligned_text(0, 0, 0, "one").line(0, 0, 1, 1, 1, 0)
                              .aligned_text(0, 0, 0, "two").bytes());
    EXPECT_EQ(texts_out(surface), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(surface.calls_of(SurfaceOp::kLineTo).size(), 1u);
    expect_device_context_restored(surface);
}

TEST_F(Interpreter, UnknownOpcodesEndThePageAndAreToldOnce) {
    static std::vector<std::string> notices;
    notices.clear();
    render_hooks().show_notice = [](const std::string& text) { notices.push_back(text); };
    for (int16_t opcode : {0, 18, -1, 1000}) {
        Bytes unknown;
        append_i16(unknown, opcode);
        auto surface = render(PageBuilder().aligned_text(0, 0, 0, "drawn").raw(unknown)
                                  .aligned_text(0, 0, 0, "not drawn").bytes());
        EXPECT_EQ(texts_out(surface), std::vector<std::string>{"drawn"}) << opcode;
        expect_device_context_restored(surface);
    }
    ASSERT_EQ(notices.size(), 1u) << "once per document";
    EXPECT_EQ(notices[0], unknown_opcode_notice());
}

TEST_F(Interpreter, UnknownOpcodesAreNotToldWhenPrinting) {
    static int shown;
    shown = 0;
    render_hooks().show_notice = [](const std::string&) { ++shown; };
    std::vector<uint8_t> settings(kPrinterSettingsSize, 0);
    Target printer;
    printer.printing = true;
    printer.printer_settings = settings.data();
    printer.driver_settings_size = int32_t(settings.size());
    Bytes unknown;
    append_i16(unknown, 18);
    render(PageBuilder().raw(unknown).bytes(), printer);
    EXPECT_EQ(shown, 0);
    render(PageBuilder().raw(unknown).bytes());
    EXPECT_EQ(shown, 1);
}

TEST(UnknownNotice, ComposedWithCarriageReturns) {
    const std::string notice = unknown_opcode_notice("http://example.test/get");
    EXPECT_EQ(notice.find("vell has encountered a code that is not designed to handle. This page may "
                          "not be completely displayed. There are two things that can cause this: \r"
                          "1. The print-preview may be corrupt. Try regenerating the document.\r"
                          "2. You may have an old version of vell.exe on you machine."),
              0u);
    EXPECT_NE(notice.find("the vell download page:\rhttp://example.test/get\r\rIf the problems "
                          "persist, please contact your software vendor."),
              std::string::npos);
    EXPECT_EQ(notice.find('\n'), std::string::npos);
    EXPECT_EQ(notice.back(), '.');
}

TEST_F(Interpreter, BrokenPagesEndWithoutReadingBeyondTheirBytes) {
    const Bytes whole = PageBuilder().aligned_text(0, 0, 0, "first").line(1, 1, 2, 2, 1, 0).bytes();
    const size_t line_start = PageBuilder().aligned_text(0, 0, 0, "first").bytes().size();
    // Every cut inside the line record's opcode or operand block.
    for (size_t cut = line_start + 1; cut < whole.size(); ++cut) {
        Bytes page(whole.begin(), whole.begin() + long(cut));
        auto surface = render(page);
        EXPECT_EQ(texts_out(surface), std::vector<std::string>{"first"}) << cut;
        EXPECT_TRUE(surface.calls_of(SurfaceOp::kLineTo).empty()) << cut;
        expect_device_context_restored(surface);
    }
    // Pages that end inside the 12-byte start: nothing drawn, header fields
    // that are missing read as zeros.
    for (size_t size = 0; size < 12; ++size) {
        Bytes page(whole.begin(), whole.begin() + long(size));
        auto surface = render(page);
        EXPECT_TRUE(texts_out(surface).empty());
        expect_device_context_restored(surface);
    }
}

TEST_F(Interpreter, DamagedPagesAlwaysEndCleanly) {
    // A page with every kind of record, damaged at random: whatever the
    // bytes say, the page ends, reads nothing outside itself (the sanitizer
    // build watches that) and leaves the device context as it found it.
    testing_render::TempDir dir;
    struct Files : SystemFileSystem {
        std::string directory;
        std::string temp_path() override { return directory; }
    } files;
    files.directory = dir.path();
    render_hooks().files = &files;
    const Bytes page = PageBuilder()
                           .font(3, 10, 0xFF, "Arial").aligned_text(1, 1, 3, "12.50").rotated_text(1, 2, 90, "r")
                           .page_number(1, 3, 1, 0).page_total(1, 3, 2, 45).line(0, 0, 1, 1, 1, 0)
                           .box(0, 0, 1, 1, -1, 0xFF, 0).picture_file(0, 0, 1, 1, dir.file("none.bmp"))
                           .window_label(99, "x").embedded_picture(0, 0, 1, 1, testing_render::bitmap_file(2, 2))
                           .reserved(Bytes(20, 0)).settings(15, {"a", "b"}).boxed_text(1, 1, 1, 1, "b")
                           .wrapped_text(0, 0, 1, 1, "w").bytes();
    std::mt19937 random(20240607);
    for (int round = 0; round < 400; ++round) {
        Bytes damaged = page;
        const int flips = 1 + int(random() % 8);
        for (int i = 0; i < flips; ++i) damaged[12 + random() % (damaged.size() - 12)] = uint8_t(random());
        damaged.resize(12 + random() % (damaged.size() - 11));
        auto surface = render(damaged);
        expect_device_context_restored(surface);
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << "round " << round;
            break;
        }
    }
}

TEST_F(Interpreter, NegativeLengthsEndThePage) {
    Bytes bad;
    append_i16(bad, kOpAlignedText);
    append_f32(bad, 0);
    append_f32(bad, 0);
    append_i16(bad, 0);
    append_i16(bad, -4);
    append_text(bad, "abcd");
    auto surface = render(PageBuilder().aligned_text(0, 0, 0, "ok").raw(bad).aligned_text(0, 0, 0, "later").bytes());
    EXPECT_EQ(texts_out(surface), std::vector<std::string>{"ok"});
}

TEST_F(Interpreter, TextRunningPastThePageUsesWhatIsThere) {
    Bytes cut;
    append_i16(cut, kOpAlignedText);
    append_f32(cut, 0);
    append_f32(cut, 0);
    append_i16(cut, 0);
    append_i16(cut, 100);
    append_text(cut, "only this");
    auto surface = render(PageBuilder().raw(cut).bytes());
    EXPECT_EQ(texts_out(surface), std::vector<std::string>{"only this"});
    expect_device_context_restored(surface);
}

TEST_F(Interpreter, LongTextsAreDrawnCutTo3999) {
    std::string long_text(5000, 'a');
    for (size_t i = 0; i < long_text.size(); ++i) long_text[i] = char('a' + i % 26);
    auto surface = render(PageBuilder().aligned_text(0, 0, 0, long_text).aligned_text(0, 0, 0, "after").bytes());
    auto texts = texts_out(surface);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], long_text.substr(0, 3999));
    EXPECT_EQ(surface.calls_of(SurfaceOp::kTextOut)[0].args[2], 3999);
    EXPECT_EQ(texts[1], "after") << "the stream advanced by all 5000 bytes";
}

TEST_F(Interpreter, SettingsAndReservedRecordsAreSteppedOver) {
    const std::vector<std::string> six = {"", "abc", "", "defgh", "", ""};
    Bytes reserved20(20, 0x07);  // bytes that would read as opcodes if misread
    const Bytes page = PageBuilder()
                           .settings(14, six)
                           .aligned_text(0, 0, 0, "after 14")
                           .reserved(reserved20)
                           .settings(15, {"p", "", "", "", "", "qq"})
                           .aligned_text(0, 0, 0, "after 15")
                           .bytes();
    auto surface = render(page);
    EXPECT_EQ(texts_out(surface), (std::vector<std::string>{"after 14", "after 15"}));

    // The decoder hands the six texts over and steps exactly past them.
    PageRecord record;
    ASSERT_EQ(decode_record(page.data(), page.size(), kPageRecordsOffset, &record), Decoded::kRecord);
    EXPECT_EQ(record.settings_texts, six);
    EXPECT_EQ(record.next, size_t(kPageRecordsOffset) + 2 + 20 + 8);
}

TEST_F(Interpreter, WindowLabelRecordsSetTheLabel) {
    const std::string before22 = window_label(22);
    auto surface = render(PageBuilder()
                              .window_label(6, "Weiter")
                              .window_label(22, "not through pages")
                              .aligned_text(0, 0, 0, "drawn")
                              .bytes());
    EXPECT_EQ(window_label(6), "Weiter");
    EXPECT_EQ(window_label(22), before22);
    EXPECT_EQ(texts_out(surface), std::vector<std::string>{"drawn"});
    set_window_label(6, builtin_label(6));
}

// ---- Lines and boxes ------------------------------------------------------------------

TEST_F(Interpreter, LinePensAndEnds) {
    struct Case { int resolution; float width; int pen; };
    const Case cases[] = {{96, 0.5f, 1}, {72, 0.5f, 0}, {96, 3.0f, 4}, {600, 0.5f, 4}};
    for (const Case& c : cases) {
        Target target;
        target.resolution_x = target.resolution_y = c.resolution;
        auto surface = render(PageBuilder().line(1.0f, 2.0f, 3.0f, 0.5f, c.width, 0x00AA00).bytes(), target);
        auto pens = surface.calls_of(SurfaceOp::kCreatePen);
        ASSERT_EQ(pens.size(), 2u);
        EXPECT_EQ(pens[1].args, (std::vector<int64_t>{0, c.pen, 0x00AA00})) << c.resolution << " " << c.width;
        auto moves = surface.calls_of(SurfaceOp::kMoveTo);
        auto lines = surface.calls_of(SurfaceOp::kLineTo);
        ASSERT_EQ(moves.size(), 1u);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(moves[0].args, (std::vector<int64_t>{c.resolution, 2 * c.resolution}));
        EXPECT_EQ(lines[0].args, (std::vector<int64_t>{3 * c.resolution, round_half_even(0.5 * c.resolution)}));
        expect_device_context_restored(surface);
    }
}

TEST_F(Interpreter, BoxesWithBordersAndWithout) {
    auto surface = render(PageBuilder()
                              .box(1.0f, 1.0f, 2.0f, 1.5f, 2.0f, 0x00FF00, 0x0000FF)
                              .box(3.0f, 3.0f, 2.0f, 2.0f, -1.0f, 0xFF0000, 0x0000FF)
                              .bytes());
    auto pens = surface.calls_of(SurfaceOp::kCreatePen);
    auto brushes = surface.calls_of(SurfaceOp::kCreateSolidBrush);
    auto rectangles = surface.calls_of(SurfaceOp::kRectangle);
    ASSERT_EQ(pens.size(), 3u);
    ASSERT_EQ(brushes.size(), 3u);
    ASSERT_EQ(rectangles.size(), 2u);
    EXPECT_EQ(pens[1].args, (std::vector<int64_t>{0, 3, 0x0000FF}));  // 2.67 -> 3
    EXPECT_EQ(brushes[1].args, (std::vector<int64_t>{0x00FF00}));
    EXPECT_EQ(rectangles[0].args, (std::vector<int64_t>{96, 96, 192, 144}));
    // A negative border: a white outline of the thinnest pen.
    EXPECT_EQ(pens[2].args, (std::vector<int64_t>{0, 0, 0xFFFFFF}));
    EXPECT_EQ(brushes[2].args, (std::vector<int64_t>{0xFF0000}));
    EXPECT_EQ(rectangles[1].args, (std::vector<int64_t>{288, 288, 192, 192}));
    expect_device_context_restored(surface);
}

// ---- Screen and printer paths ------------------------------------------------------------

TEST_F(Interpreter, ScreenPathRunsPageGeometryThenFitsThePageArea) {
    static PageGeometry seen;
    static int fits;
    fits = 0;
    render_hooks().fit_page_area = [] {
        seen = page_geometry();
        ++fits;
    };
    Target screen;
    screen.desktop = Resolution{96, 120};
    auto surface = render(PageBuilder(9, 1, 3).line(0, 0, 1, 1, 1, 0).bytes(), screen);
    EXPECT_EQ(fits, 1);
    EXPECT_EQ(seen.paper_size, 9);
    EXPECT_EQ(seen.orientation, 1);
    EXPECT_EQ(seen.width, 297.0f / 25.4f);
    EXPECT_EQ(display_units().horizontal, 120) << "crosswise for landscape";
    EXPECT_TRUE(surface.calls_of(SurfaceOp::kStartPage).empty());
    EXPECT_TRUE(surface.calls_of(SurfaceOp::kResetDc).empty());
}

TEST_F(Interpreter, DisplayOptionDrawsSmallZoomsAtFullSize) {
    struct Case { int32_t option; double zoom; int pixel; };
    const Case cases[] = {
        {kDisplayShrink, 0.75, 96}, {kDisplayShrink, 1.0, 96}, {kDisplayShrink, 1.25, 120},
        {0, 0.75, 72}, {0x801, 0.75, 72},
    };
    for (const Case& c : cases) {
        zoom_factor().value = c.zoom;
        Target screen;
        screen.display_option = c.option;
        auto surface = render(PageBuilder().line(1, 1, 2, 2, 0, 0).bytes(), screen);
        EXPECT_EQ(surface.calls_of(SurfaceOp::kMoveTo).at(0).args[0], c.pixel) << c.option << " " << c.zoom;
        EXPECT_EQ(zoom_factor().value, c.zoom) << "the zoom factor is put back";
    }
    // The printer path never applies the option.
    zoom_factor().value = 0.75;
    std::vector<uint8_t> settings(kPrinterSettingsSize, 0);
    Target printer;
    printer.printing = true;
    printer.display_option = kDisplayShrink;
    printer.printer_settings = settings.data();
    auto surface = render(PageBuilder().line(1, 1, 2, 2, 0, 0).bytes(), printer);
    EXPECT_EQ(surface.calls_of(SurfaceOp::kMoveTo).at(0).args[0], 72);
}

TEST_F(Interpreter, PrinterPathSetsThePagesPaperAndStartsThePage) {
    std::vector<uint8_t> settings(kPrinterSettingsSize, 0xEE);
    const int32_t driver_size = int32_t(kPrinterSettingsSize) + 512;
    static int fits;
    fits = 0;
    render_hooks().fit_page_area = [] { ++fits; };
    page_geometry().width = 1.0f;  // must stay: printing runs no page geometry

    struct Case { int16_t paper, orientation, source; int16_t want_paper, want_orientation, want_source; };
    const Case cases[] = {
        {99, 1, 20, 1, 2, 7},
        {9, 0, 3, 9, 1, 3},
        {41, 2, 14, 41, 1, 14},
        {0, -1, 0, 1, 1, 7},
    };
    for (const Case& c : cases) {
        Target printer;
        printer.printing = true;
        printer.device = Resolution{300, 300};
        printer.resolution_x = printer.resolution_y = 300;
        printer.origin_x = -50;
        printer.origin_y = -30;
        printer.printer_settings = settings.data();
        printer.driver_settings_size = driver_size;
        auto surface = render(PageBuilder(c.paper, c.orientation, c.source).line(0, 0, 1, 1, 1, 0).bytes(), printer);

        EXPECT_EQ(get_u32(settings.data(), settings.size(), devmode::kFields), 0x203u);
        EXPECT_EQ(get_i16(settings.data(), settings.size(), devmode::kOrientation), c.want_orientation);
        EXPECT_EQ(get_i16(settings.data(), settings.size(), devmode::kPaperSize), c.want_paper);
        EXPECT_EQ(get_i16(settings.data(), settings.size(), devmode::kDefaultSource), c.want_source);
        EXPECT_EQ(settings[60], 0xEE) << "other fields stay as they were";

        auto resets = surface.calls_of(SurfaceOp::kResetDc);
        ASSERT_EQ(resets.size(), 1u);
        EXPECT_EQ(resets[0].args[0], driver_size);
        ASSERT_EQ(resets[0].text.size(), size_t(driver_size));
        EXPECT_EQ(std::memcmp(resets[0].text.data(), settings.data(), kPrinterSettingsSize), 0);

        // ResetDCA, StartPage, the blank at the device origin, then records.
        auto ops = ops_of(surface);
        size_t reset_at = 0;
        while (ops[reset_at] != SurfaceOp::kResetDc) ++reset_at;
        ASSERT_LT(reset_at + 2, ops.size());
        EXPECT_EQ(ops[reset_at + 1], SurfaceOp::kStartPage);
        EXPECT_EQ(ops[reset_at + 2], SurfaceOp::kTextOut);
        auto texts = surface.calls_of(SurfaceOp::kTextOut);
        EXPECT_EQ(texts[0].args, (std::vector<int64_t>{0, 0, 1}));
        EXPECT_EQ(texts[0].text, " ");
        EXPECT_EQ(surface.calls_of(SurfaceOp::kMoveTo).at(0).args, (std::vector<int64_t>{-50, -30}));
        expect_device_context_restored(surface);
    }
    EXPECT_EQ(fits, 0);
    EXPECT_EQ(page_geometry().width, 1.0f);
}

TEST_F(Interpreter, EmptyPrintedPageStillGetsItsBlank) {
    std::vector<uint8_t> settings(kPrinterSettingsSize, 0x55);
    Target printer;
    printer.printing = true;
    printer.printer_settings = settings.data();
    for (const Bytes& page : {Bytes(), PageBuilder(5, 0, 2).end_of_page(9).bytes()}) {
        auto surface = render(page, printer);
        EXPECT_EQ(surface.calls_of(SurfaceOp::kStartPage).size(), 1u);
        EXPECT_EQ(texts_out(surface), std::vector<std::string>{" "});
    }
    // No bytes at all read as Letter, portrait, automatic source.
    render(Bytes(), printer);
    EXPECT_EQ(get_i16(settings.data(), settings.size(), devmode::kPaperSize), 1);
    EXPECT_EQ(get_i16(settings.data(), settings.size(), devmode::kOrientation), 1);
    EXPECT_EQ(get_i16(settings.data(), settings.size(), devmode::kDefaultSource), 7);
}

// ---- The document's page -------------------------------------------------------------------

class RenderPage : public RenderFixture {
protected:
    void SetUp() override {
        RenderFixture::SetUp();
        Document& doc = the_document();
        saved_page_ = doc.page;
        saved_number_ = doc.page_number;
        std::memcpy(saved_header_, doc.header, sizeof saved_header_);
    }
    void TearDown() override {
        Document& doc = the_document();
        doc.page = saved_page_;
        doc.page_number = saved_number_;
        std::memcpy(doc.header, saved_header_, sizeof saved_header_);
        RenderFixture::TearDown();
    }

private:
    Bytes saved_page_;
    int32_t saved_number_ = 0;
    uint8_t saved_header_[kHeaderSize] = {};
};

TEST_F(RenderPage, DrawsTheLoadedPageWithTheDocumentsCountAndOption) {
    Document& doc = the_document();
    doc.page = PageBuilder().page_number(1, 1, 0, 0).page_total(1, 2, 0, 0).line(1, 1, 2, 2, 0, 0).bytes();
    doc.page_number = 3;
    set_header_i32(doc, hdr::kPageCount, 17);
    set_header_i32(doc, hdr::kDisplayOption, kDisplayShrink);
    zoom_factor().value = 0.5;
    RecordingSurface surface;
    render_page(3, surface, 96, 96, 0, 0, 0, nullptr, 0);
    EXPECT_EQ(texts_out(surface), (std::vector<std::string>{"3", "17"}));
    EXPECT_EQ(surface.calls_of(SurfaceOp::kMoveTo).at(0).args[0], 96);
    EXPECT_EQ(zoom_factor().value, 0.5);
    EXPECT_EQ(doc.page_number, 3) << "the loaded page was drawn without loading";
}

TEST_F(RenderPage, AnotherPageIsLoadedAndOutOfRangeGivesAnEmptyPage) {
    Document& doc = the_document();
    doc.page = PageBuilder().aligned_text(0, 0, 0, "page 3").bytes();
    doc.page_number = 3;
    set_header_i32(doc, hdr::kPageCount, 3);
    RecordingSurface surface;
    render_page(0, surface, 96, 96, 0, 0, 0, nullptr, 0);
    EXPECT_TRUE(texts_out(surface).empty());
    EXPECT_EQ(doc.page_number, 0);
    EXPECT_TRUE(doc.page.empty());
    expect_device_context_restored(surface);
}

}  // namespace
}  // namespace vell
