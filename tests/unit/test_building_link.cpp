// The building messages as the viewer reads and writes them, the zoom a
// screen rendering leaves behind for the copy, and the documents a
// generator writes page by page (vellgen's report).
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "demo_report.h"
#include "document/bytes.h"
#include "document/format.h"
#include "render/interpreter.h"
#include "render/recording_surface.h"
#include "render/units.h"
#include "render_test_util.h"
#include "vel_writer.h"
#include "viewer/building_link.h"

namespace vell {
namespace {

TEST(BuildingLink, MessageTextsNeverPassTheirSize) {
    const char unterminated[4] = {'2', '6', '1', '7'};
    EXPECT_EQ(copydata_text(unterminated, 3), "261") << "cbData bounds the text";
    EXPECT_EQ(copydata_text("12\0garbage", 10), "12");
    EXPECT_EQ(copydata_text("Dummy Info", 11), "Dummy Info");
    EXPECT_EQ(copydata_text(nullptr, 40), "");
    EXPECT_EQ(copydata_text("261", 0), "");
}

TEST(BuildingLink, PositionsAreWholeNumbersHeldTo32Bits) {
    EXPECT_EQ(page_position_from_text("261"), 261);
    EXPECT_EQ(page_position_from_text(" 2706.9"), 2706) << "rounded down";
    EXPECT_EQ(page_position_from_text("-5"), -5);
    EXPECT_EQ(page_position_from_text("99999999999"), INT32_MAX);
    EXPECT_EQ(page_position_from_text("-99999999999"), INT32_MIN);
    EXPECT_EQ(page_position_from_text("page"), 0);
    EXPECT_EQ(page_position_from_text(""), 0);
}

TEST(BuildingLink, WindowHandlesTravelAsSigned32BitDecimals) {
    EXPECT_EQ(window_handle_text(0x000A0068u), "655464");
    EXPECT_EQ(window_handle_text(uintptr_t(0x80000000u)), "-2147483648");
    // The header's field widens back to the handle a generator sent.
    EXPECT_EQ(builder_window_handle(655464), uintptr_t(0x000A0068u));
    EXPECT_EQ(builder_window_handle(-2), uintptr_t(intptr_t(-2)));
    EXPECT_EQ(builder_window_handle(0), uintptr_t(0));
    EXPECT_EQ(std::strlen(building::kClosedText) + 1, 11u) << "message 104 sends 11 bytes";
}

// The viewer's fit step sets the zoom from its zoom box while a page is
// rendered; the copy and click zoom afterwards work with that zoom, so
// rendering keeps it (and undoes only its own full-size drawing).
class ScreenZoom : public ::testing::Test {
protected:
    void TearDown() override {
        zoom_factor() = ZoomFactor();
        render_hooks().fit_page_area = nullptr;
    }
    static double render_with_fit(double fitted, int32_t display_option, int* first_x) {
        static double chosen;
        chosen = fitted;
        render_hooks().fit_page_area = [] { zoom_factor().value = chosen; };
        const Bytes page = PageBuilder().line(1, 1, 2, 2, 0, 0).end_of_page().bytes();
        PageSource source = testing_render::page_source(page);
        source.display_option = display_option;
        RecordingSurface surface;
        render_page_bytes(source, surface, 96, 96, 0, 0, 0, nullptr, 0);
        *first_x = surface.calls_of(SurfaceOp::kMoveTo).at(0).args[0];
        return zoom_factor().value;
    }
};

TEST_F(ScreenZoom, TheFittedZoomOutlivesTheRendering) {
    int x = 0;
    zoom_factor().value = 1.0;
    EXPECT_EQ(render_with_fit(0.8, 0, &x), 0.8);
    EXPECT_EQ(x, 77) << "drawn at the fitted zoom: round(96 * 0.8)";
    EXPECT_EQ(render_with_fit(1.25, 0, &x), 1.25);
    EXPECT_EQ(x, 120);
    // Full-size drawing below 100 %: drawn at 1.0, the fitted 0.75 stays.
    EXPECT_EQ(render_with_fit(0.75, kDisplayShrink, &x), 0.75);
    EXPECT_EQ(x, 96);
}

// Every step of vellgen's report is a prefix of the finished document up to
// its newest page's end, and its header says where that end is.
TEST(GeneratorReport, EachStepIsAPrefixOfTheFinishedDocument) {
    vellgen::ReportOptions options;
    options.pages = 4;
    options.with_index = true;
    options.builder_window = 0x1234;
    const Bytes done = write_document(vellgen::report_document(options, 4, true));
    EXPECT_EQ(get_i32(done, hdr::kPageCount), 4);
    EXPECT_EQ(get_i32(done, hdr::kIndexCount), 2) << "pages 1 and 4 start a section";
    EXPECT_EQ(get_i32(done, hdr::kBuilderWindow), 0x1234);

    int32_t previous_end = kHeaderSize + 1;
    for (int k = 0; k <= 4; ++k) {
        const Bytes step = write_document(vellgen::report_document(options, k, false));
        const int32_t end = get_i32(step, hdr::kPageIndexPos);
        EXPECT_EQ(get_i32(step, hdr::kPageCount), k);
        EXPECT_EQ(get_i32(step, hdr::kIndexCount), 0) << "no index until complete";
        EXPECT_GE(end, previous_end) << "the newest page ends after the one before";
        ASSERT_LE(size_t(end - 1), done.size());
        EXPECT_TRUE(std::equal(step.begin() + kHeaderSize, step.begin() + (end - 1),
                               done.begin() + kHeaderSize))
            << "pages of step " << k << " are the finished document's";
        previous_end = end;
    }
    EXPECT_EQ(previous_end, get_i32(done, hdr::kPageIndexPos));
}

}  // namespace
}  // namespace vell
