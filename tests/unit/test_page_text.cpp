// Page texts with their places (measured with the recording surface's font
// model at 96 pixels per inch) and finding a text in them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/page_text.h"
#include "render/text_find.h"
#include "render_test_util.h"
#include "ui_text/labels.h"

namespace vell {
namespace {

using testing_render::RenderFixture;

class PageTextTest : public RenderFixture {
protected:
    // 12-point Arial: em 16 pixels, cell height 20.
    static PageBuilder page() {
        PageBuilder p;
        p.font(0, 12.0f, 0, "Arial");
        return p;
    }
    PageText read(const PageBuilder& p, int16_t number = 1, int32_t count = 1) {
        bytes_ = p.bytes();
        PageSource source;
        source.bytes = bytes_.data();
        source.size = bytes_.size();
        source.page_number = number;
        source.page_count = count;
        return read_page_text(source, measure_);
    }
    static int width(const std::string& text) {
        LogFont font;
        font.height = -16;
        return RecordingSurface::model_width(font, text);
    }
    static std::vector<std::string> texts(const PageText& t) {
        std::vector<std::string> out;
        for (const PageTextItem& item : t.items) out.push_back(item.text);
        return out;
    }
    static void expect_rect(const PageRect& r, double left, double top, double right,
                            double bottom) {
        EXPECT_NEAR(r.left * 96, left, 1e-6);
        EXPECT_NEAR(r.top * 96, top, 1e-6);
        EXPECT_NEAR(r.right * 96, right, 1e-6);
        EXPECT_NEAR(r.bottom * 96, bottom, 1e-6);
    }

    RecordingSurface measure_;
    Bytes bytes_;
};

TEST_F(PageTextTest, EveryKindOfTextWithWhereItIsDrawn) {
    PageBuilder p = page();
    p.aligned_text(1.0f, 1.0f, 2, "Total")                // right edge at x
        .rotated_text(2.0f, 3.0f, 90, "Up")               // runs upwards from its anchor
        .boxed_text(5.0f, 4.0f, 0.25f, 2, "Long boxed text")  // cut to its 24-pixel box
        .page_number(1.0f, 5.0f, 1, 0)
        .page_total(2.0f, 5.0f, 0, 0)
        .end_of_page();
    const PageText t = read(p, 7, 12);
    ASSERT_EQ(texts(t), (std::vector<std::string>{"Total", "Up", "Long boxed text", "7", "12"}));
    expect_rect(t.items[0].rect, 96 - width("Total"), 96, 96, 96 + 20);
    EXPECT_EQ(t.items[1].angle, 90);
    expect_rect(t.items[1].rect, 192, 288 - width("Up"), 192 + 20, 288);
    EXPECT_EQ(t.items[2].kind, PageTextKind::kBoxed);
    expect_rect(t.items[2].rect, 480 - 24, 384, 480, 384 + 20);
    expect_rect(t.items[3].rect, 96 - width("7") / 2, 480, 96 - width("7") / 2 + width("7"), 500);
}

TEST_F(PageTextTest, WrappedTextsGiveOneTextPerLineAndOnlyWholeLines) {
    // 96 pixels wide: "aaaa bbbb" (68) fits, one more word does not.
    PageBuilder p = page();
    p.wrapped_text(1.0f, 1.0f, 2.0f, 2.0f, "aaaa bbbb cccc dddd\r\nee")
        .wrapped_text(3.0f, 1.0f, 3.5f, 2.0f, "abcdefghijkmnop")  // one word wider than 48
        .wrapped_text(1.0f, 3.0f, 2.0f, 3.0f + 30.0f / 96, "ffff gggg hhhh")  // room for one line
        .end_of_page();
    const PageText t = read(p);
    std::vector<std::string> left, right;
    for (const PageTextItem& item : t.items) {
        EXPECT_EQ(item.kind, PageTextKind::kWrapped);
        const bool narrow = item.rect.left >= 2.5;
        (narrow ? right : left).push_back(item.text);
        if (narrow) {
            EXPECT_LE(width(item.text), 48);
        }
    }
    EXPECT_EQ(left, (std::vector<std::string>{"aaaa bbbb", "cccc dddd", "ee", "ffff gggg"}));
    std::string joined;
    for (const std::string& s : right) joined += s;
    EXPECT_EQ(joined, "abcdefghijkmnop");
    EXPECT_GT(right.size(), 1u);
    expect_rect(t.items[2].rect, 96, 96 + 20, 96 + width("cccc dddd"), 96 + 40);
}

TEST_F(PageTextTest, BreakingALongTextMeasuresItAFewTimesOverNotOnceAWord) {
    std::string words;
    while (words.size() < 4000) words += "lorem ipsum ";
    const std::string one_word(4000, 'x');
    for (const std::string& text : {words, one_word}) {
        for (int width : {INT32_MAX, 200}) {
            measure_.clear_calls();
            ASSERT_FALSE(wrap_text_lines(measure_, text, width).empty());
            int64_t measured = 0;
            for (const RecordedCall& call : measure_.calls_of(SurfaceOp::kTextExtent))
                measured += call.args[0];
            EXPECT_LT(measured, 40 * int64_t(text.size())) << text.substr(0, 5) << " in " << width;
        }
    }
}

TEST_F(PageTextTest, ReadingOrderIsLinesDownThenLeftToRight) {
    PageBuilder p = page();
    p.aligned_text(5.0f, 2.0f, 0, "right")
        .aligned_text(1.0f, 2.05f, 0, "left")  // a little lower, on the same line
        .aligned_text(3.0f, 1.0f, 0, "top")
        .aligned_text(1.0f, 2.5f, 0, "below")
        .end_of_page();
    EXPECT_EQ(texts(read(p)), (std::vector<std::string>{"top", "left", "right", "below"}));
}

TEST_F(PageTextTest, ReadingChangesNothingOutsideTheSurfaces) {
    const std::string label = window_label(3);
    const PageGeometry geometry = page_geometry();
    zoom_factor().value = 1.5;
    static int fits;
    fits = 0;
    render_hooks().fit_page_area = [] { ++fits; };
    PageBuilder p(5, 1, 7);  // landscape legal
    p.window_label(3, "Changed")
        .embedded_picture(0, 0, 1, 1, testing_render::bitmap_file(2, 2))
        .aligned_text(1.0f, 1.0f, 0, "x")
        .raw({18, 0})  // unknown: ends the page without a notice
        .end_of_page();
    const PageText t = read(p);
    EXPECT_EQ(window_label(3), label);
    EXPECT_EQ(page_geometry().orientation, geometry.orientation);
    EXPECT_EQ(fits, 0);
    EXPECT_FALSE(unknown_notice_state().shown);
    EXPECT_EQ(zoom_factor().value, 1.5);
    ASSERT_EQ(t.items.size(), 1u);
    EXPECT_DOUBLE_EQ(t.scale_x, 144);  // measured at the zoom shown
    expect_device_context_restored(measure_);
    EXPECT_TRUE(measure_.calls_of(SurfaceOp::kCreatePen).empty());
}

TEST_F(PageTextTest, BadRecordsEndTheTextsAsTheyEndTheDrawing) {
    PageBuilder p = page();
    p.aligned_text(1.0f, 1.0f, 0, std::string("abc\0def", 7))
        .raw({2, 0})  // an aligned text cut inside its operand block
        .end_of_page();
    EXPECT_EQ(texts(read(p)), (std::vector<std::string>{"abc"}));
    Bytes cut = PageBuilder().aligned_text(1.0f, 1.0f, 0, "abcdef").bytes();
    cut.resize(cut.size() - 2);  // the text runs past the page's end
    PageSource source;
    source.bytes = cut.data();
    source.size = cut.size();
    const PageText t = read_page_text(source, measure_);
    ASSERT_EQ(t.items.size(), 1u);
    EXPECT_EQ(t.items[0].text, "abcd");
}

TEST_F(PageTextTest, PartOfATextIsMeasuredAgainInItsFont) {
    PageBuilder p = page();
    p.aligned_text(1.0f, 1.0f, 0, "Invoice 4711").rotated_text(2.0f, 3.0f, 90, "Up 4711").end_of_page();
    const PageText t = read(p);
    ASSERT_EQ(t.items.size(), 2u);
    const PageTextItem& flat = t.items[0].angle ? t.items[1] : t.items[0];
    const PageTextItem& turned = t.items[0].angle ? t.items[0] : t.items[1];
    expect_rect(text_part_rect(measure_, t, flat, 8, 4), 96 + width("Invoice "), 96,
                96 + width("Invoice 4711"), 116);
    expect_rect(text_part_rect(measure_, t, turned, 3, 4), 192, 288 - width("Up 4711"), 212,
                288 - width("Up "));
    expect_device_context_restored(measure_);
}

// ---- Matching ------------------------------------------------------------------------

TEST(TextFind, CaseAndWholeWords) {
    const FindOptions any, with_case{true, false}, words{false, true};
    EXPECT_EQ(find_in_text("Total INVOICE 12", "invoice", any), 6u);
    EXPECT_EQ(find_in_text("Total INVOICE 12", "invoice", with_case), std::string::npos);
    EXPECT_EQ(find_in_text("\xC9t\xC9", "\xE9t\xE9", any), 0u);  // accented letters fold too
    EXPECT_EQ(find_in_text("invoices, invoice", "invoice", words), 10u);
    EXPECT_EQ(find_in_text("re-invoice", "invoice", words), 3u);
    EXPECT_EQ(find_in_text("\xE9invoice", "invoice", words), std::string::npos);
    EXPECT_EQ(find_in_text("abab", "ab", any, 1), 2u);
    EXPECT_EQ(find_last_in_text("abab", "ab", any, 2), 0u);
    EXPECT_EQ(find_last_in_text("abab", "ab", any, std::string::npos), 2u);
    EXPECT_EQ(find_in_text("abc", "", any), std::string::npos);
}

TEST(TextFind, PageBytesFilterPassesOverPagesWithoutTheText) {
    const std::string bytes("\x02\x00" "xxInVoIcE 12", 14);
    const auto* b = reinterpret_cast<const uint8_t*>(bytes.data());
    EXPECT_TRUE(PageBytesFilter("invoice", {}).may_match(b, bytes.size()));
    EXPECT_FALSE(PageBytesFilter("invoice", {true, false}).may_match(b, bytes.size()));
    EXPECT_FALSE(PageBytesFilter("receipt", {}).may_match(b, bytes.size()));
    EXPECT_TRUE(PageBytesFilter("C", {}).may_match(b, bytes.size()));
    EXPECT_TRUE(PageBytesFilter("999", {}).may_match(b, 0));  // page numbers are not in the bytes
}

PageText texts_of(std::vector<std::string> words) {
    PageText t;
    for (std::string& w : words) {
        PageTextItem item;
        item.text = std::move(w);
        t.items.push_back(item);
    }
    return t;
}

// Pages 1..4; the word is on pages 1 and 3 (twice on 3).
PageText sample_page(int16_t page) {
    if (page == 1) return texts_of({"word"});
    if (page == 3) return texts_of({"a word", "another word"});
    return texts_of({"nothing"});
}

struct Walk {
    std::vector<int16_t> pages;
    DocumentSearch search;
};

void run(Walk& walk) {
    while (!walk.search.finished()) {
        walk.pages.push_back(walk.search.page());
        walk.search.look(sample_page(walk.search.page()));
    }
}

TEST(TextFind, WalksOnAfterTheCurrentMatchAndWrapsOnce) {
    TextMatch current{3, 0, 2, 4};
    Walk next{{}, DocumentSearch("word", {}, true, 4, 3, &current)};
    run(next);
    EXPECT_EQ(next.search.match().item, 1);
    EXPECT_FALSE(next.search.wrapped());

    current = TextMatch{3, 1, 8, 4};
    Walk wrap{{}, DocumentSearch("word", {}, true, 4, 3, &current)};
    run(wrap);
    EXPECT_EQ(wrap.pages, (std::vector<int16_t>{3, 4, 1}));
    EXPECT_TRUE(wrap.search.wrapped());

    current = TextMatch{1, 0, 0, 4};
    Walk back{{}, DocumentSearch("word", {}, false, 4, 1, &current)};
    run(back);
    EXPECT_EQ(back.pages, (std::vector<int16_t>{1, 4, 3}));
    EXPECT_EQ(back.search.match().item, 1);
    EXPECT_TRUE(back.search.wrapped());

    Walk none{{}, DocumentSearch("absent", {}, true, 4, 2, &current)};
    run(none);
    EXPECT_FALSE(none.search.found());
    EXPECT_EQ(none.pages, (std::vector<int16_t>{2, 3, 4, 1}));
}

TEST(TextFind, TheOnlyMatchIsFoundAgainAfterTheWrap) {
    TextMatch current{1, 0, 0, 4};
    Walk again{{}, DocumentSearch("word", {}, true, 2, 1, &current)};
    run(again);
    EXPECT_EQ(again.pages, (std::vector<int16_t>{1, 2, 1}));
    EXPECT_TRUE(again.search.found());
    EXPECT_TRUE(again.search.wrapped());
    EXPECT_EQ(again.search.match().page, 1);
}

}  // namespace
}  // namespace vell
