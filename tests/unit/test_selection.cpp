// Selecting text by characters (measured with the recording surface's font
// model at 96 pixels per inch: 12-point letters 8 pixels wide, blanks 4,
// cells 20 high) and laying the selection out as text and as an HTML table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/ansi_text.h"
#include "render/page_text.h"
#include "render_test_util.h"
#include "viewer/find_search.h"
#include "viewer/page_image.h"
#include "viewer/selection.h"
#include "viewer/selection_copy.h"

namespace vell {
namespace {

using testing_render::page_source;
using testing_render::RenderFixture;

class SelectionTest : public RenderFixture {
protected:
    static PageBuilder page() {
        PageBuilder p;
        p.font(0, 12.0f, 0, "Arial");
        return p;
    }
    const PageText& read(const PageBuilder& p) {
        bytes_ = p.bytes();
        text_ = read_page_text(page_source(bytes_), measure_, true);
        return text_;
    }
    // The selected characters, one string a part.
    std::vector<std::string> selected(const std::vector<TextPart>& parts) const {
        std::vector<std::string> out;
        for (const TextPart& part : parts)
            out.push_back(text_.items[size_t(part.item)].text.substr(part.offset, part.count));
        return out;
    }
    // A rectangle given in pixels at 96 per inch.
    static PageRect pixels(double left, double top, double right, double bottom) {
        return PageRect{left / 96, top / 96, right / 96, bottom / 96};
    }
    std::string copied(const std::vector<TextPart>& parts) const {
        return lines_as_text(selection_lines(text_, parts));
    }

    RecordingSurface measure_;
    Bytes bytes_;
    PageText text_;
};

TEST_F(SelectionTest, CharactersWhoseCentreLiesInsideAreSelected) {
    // "Invoice 4711" from x 96: "4" spans 152..160, "7" 160..168, "1" 168..176.
    PageBuilder p = page();
    p.aligned_text(1.0f, 1.0f, 0, "Invoice 4711")
        .rotated_text(3.0f, 3.0f, 90, "Up")  // "U" lowest, from y 288 up to 280
        .boxed_text(5.0f, 4.0f, 0.25f, 2, "Long boxed text")  // only its last 24 pixels show
        .end_of_page();
    read(p);
    // From before the middle of "4" to just before the middle of the first
    // "1", dragged from right to left and bottom to top.
    EXPECT_EQ(selected(select_in_rect(text_, pixels(171, 110, 155, 100))),
              (std::vector<std::string>{"47"}));
    EXPECT_EQ(selected(select_in_rect(text_, pixels(280, 281, 310, 290))),
              (std::vector<std::string>{"U"}));
    // The box cuts its text: the hidden characters are never selected.
    EXPECT_EQ(selected(select_all(text_)),
              (std::vector<std::string>{"Invoice 4711", "Up", "ext"}));
    // The highlight covers the selected characters only.
    const std::vector<PageRect> rects = selection_rects(text_, select_in_rect(text_, pixels(171, 110, 155, 100)));
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_NEAR(rects[0].left * 96, 152, 1e-6);
    EXPECT_NEAR(rects[0].right * 96, 168, 1e-6);
}

TEST_F(SelectionTest, AreaPointsMapBackToThePageAsTheCopyShowsThem) {
    CopyInput in;
    in.page_width = 8.5f;
    in.page_height = 11.0f;
    in.area_width = 500;
    in.area_height = 400;
    in.vertical_needed = in.horizontal_needed = true;
    in.horizontal_position = 40;
    in.vertical_position = 70;
    const PageRect rect{2.0, 5.0, 3.0, 6.0};
    for (int option : {0, 0x800}) {
        in.zoom = 0.75;
        in.display_option = option;  // 0x800: drawn at 100 %, the copy shrinks it
        const CopyPlan plan = plan_copy(in);
        const SurfaceRect shown = page_rect_in_area(in, plan, rect);
        const PagePoint p = area_to_page(in, plan, shown.left, shown.top);
        EXPECT_NEAR(p.x, rect.left, 2.0 / 72) << option;
        EXPECT_NEAR(p.y, rect.top, 2.0 / 72) << option;
    }
}

TEST_F(SelectionTest, ColumnsBecomeTabsAndLinesComeInReadingOrder) {
    PageBuilder p = page();
    // A heading, then a table of three columns; the price column is right
    // aligned and drawn first, one row's name stands a little lower,
    // "Widget" and "blue" are one blank apart, and the last row has no
    // quantity.
    p.aligned_text(1.0f, 0.5f, 0, "  Stock list  ")
        .aligned_text(4.0f, 1.0f, 2, "Price")
        .aligned_text(4.0f, 1.3f, 2, "12.50")
        .aligned_text(1.0f, 1.0f, 0, "Item")
        .aligned_text(2.5f, 1.0f, 0, "Qty")
        .aligned_text(1.0f, 1.32f, 0, "Widget")
        .aligned_text(1.0f + 56.0f / 96, 1.32f, 0, "blue")
        .aligned_text(2.5f, 1.3f, 0, "2")
        .aligned_text(1.0f, 1.6f, 0, "Gadget")
        .aligned_text(4.0f, 1.6f, 2, "3.00")
        .end_of_page();
    read(p);
    EXPECT_EQ(copied(select_all(text_)),
              "Stock list\r\nItem\tQty\tPrice\r\nWidget blue\t2\t12.50\r\nGadget\t\t3.00");
    EXPECT_EQ(copied(select_in_rect(text_, pixels(230, 120, 390, 140))), "2\t12.50");
    // Part of a text: the last two characters of "12.50".
    EXPECT_EQ(copied(select_in_rect(text_, pixels(367, 120, 390, 140))), "50");
}

TEST(SelectionCopy, HtmlTableWithItsHeaderOffsets) {
    const std::vector<CopiedLine> lines = {{"A&B", "<1>"}, {"\x80 5"}};
    const std::string html = lines_as_clipboard_html(lines);
    auto offset = [&](const std::string& key) {
        const size_t at = html.find(key + ":");
        return at == std::string::npos ? size_t(0) : size_t(std::stoul(html.substr(at + key.size() + 1, 10)));
    };
    EXPECT_EQ(html.compare(offset("StartHTML"), 6, "<html>"), 0);
    EXPECT_EQ(offset("EndHTML"), html.size());
    EXPECT_EQ(html.substr(offset("StartFragment"), offset("EndFragment") - offset("StartFragment")),
              "<table><tr><td>A&amp;B</td><td>&lt;1&gt;</td></tr>\r\n"
              "<tr><td>\xE2\x82\xAC 5</td></tr>\r\n</table>");
    // The Unicode text comes from Windows-1252: 0x80 is the euro sign.
    EXPECT_EQ(ansi_to_utf16("\x80\xE9"), (std::u16string{0x20AC, 0xE9}));
}

}  // namespace
}  // namespace vell
