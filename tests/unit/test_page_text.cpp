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

using testing_render::page_source;
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
        return read_page_text(page_source(bytes_, number, count), measure_);
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
        .wrapped_text(5.0f, 5.0f, 6.0f, 5.0f + 15.0f / 96, "tight")  // lower than its line
        .end_of_page();
    const PageText t = read(p);
    // The first line is always drawn, cut at the rectangle's bottom.
    ASSERT_FALSE(t.items.empty());
    EXPECT_EQ(t.items.back().text, "tight");
    expect_rect(t.items.back().rect, 480, 480, 480 + width("tight"), 495);
    std::vector<std::string> left, right;
    for (const PageTextItem& item : t.items) {
        EXPECT_EQ(item.kind, PageTextKind::kWrapped);
        if (item.rect.left >= 4.5) continue;
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
        // A 40-point amount with 6-point texts on its baseline, beside it.
        .font(0, 40.0f, 0, "Arial")
        .aligned_text(2.0f, 4.0f, 0, "1,204.50")
        .font(0, 6.0f, 0, "Arial")
        .aligned_text(1.0f, 4.5f, 0, "Total")
        .aligned_text(5.0f, 4.5f, 0, "EUR")
        .end_of_page();
    const PageText t = read(p);
    EXPECT_EQ(texts(t), (std::vector<std::string>{"top", "left", "right", "below", "Total",
                                                  "1,204.50", "EUR"}));
    std::vector<size_t> counts;
    for (const PageTextLine& line : t.lines) counts.push_back(line.count);
    EXPECT_EQ(counts, (std::vector<size_t>{1, 2, 1, 3}));
}

TEST_F(PageTextTest, TextsMeasureAtTheZoomThePageIsDrawnWith) {
    // Display option 0x800 draws the page at full size below 100 %.
    zoom_factor().value = 0.4;
    bytes_ = page().aligned_text(1.0f, 1.0f, 0, "alpha theta").end_of_page().bytes();
    PageSource source = page_source(bytes_, 0, 0);
    source.display_option = 0x800;
    const PageText t = read_page_text(source, measure_);
    EXPECT_EQ(zoom_factor().value, 0.4);
    EXPECT_DOUBLE_EQ(t.scale_x, 96);
    ASSERT_EQ(t.items.size(), 1u);
    EXPECT_EQ(t.items[0].font.height, -16);
    expect_rect(t.items[0].rect, 96, 96, 96 + width("alpha theta"), 116);
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
    const PageText t = read_page_text(page_source(cut, 0, 0), measure_);
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

// Pieces of text with nothing but their texts, one line each.
PageText texts_of(std::vector<std::string> words) {
    PageText t;
    for (std::string& w : words) {
        PageTextItem item;
        item.text = std::move(w);
        t.lines.push_back(PageTextLine{t.items.size(), 1});
        t.items.push_back(item);
    }
    return t;
}

// The first match on a page as text, parts joined by "|"; "" for none.
std::string first_match(const PageText& t, const std::string& needle, const FindOptions& options = {},
                        TextPlace from = {}) {
    TextMatch m;
    if (!PageMatcher(needle, options).first_from(t, from, &m)) return "";
    std::string out;
    for (const TextPart& part : match_parts(t, m))
        out += (out.empty() ? "" : "|") + t.items[size_t(part.item)].text.substr(part.offset, part.count);
    return out;
}

TEST(TextFind, CaseAndWholeWords) {
    const FindOptions with_case{true, false}, words{false, true};
    EXPECT_EQ(first_match(texts_of({"Total INVOICE 12"}), "invoice"), "INVOICE");
    EXPECT_EQ(first_match(texts_of({"Total INVOICE 12"}), "invoice", with_case), "");
    EXPECT_EQ(first_match(texts_of({"\xC9t\xC9"}), "\xE9t\xE9"), "\xC9t\xC9");  // accented letters fold too
    TextMatch m;
    ASSERT_TRUE(PageMatcher("invoice", words).first_from(texts_of({"invoices, invoice"}), {}, &m));
    EXPECT_EQ(m.start.offset, 10u);
    EXPECT_EQ(first_match(texts_of({"re-invoice"}), "invoice", words), "invoice");
    EXPECT_EQ(first_match(texts_of({"\xE9invoice"}), "invoice", words), "");
    const PageText abab = texts_of({"abab"});
    ASSERT_TRUE(PageMatcher("ab", {}).first_from(abab, TextPlace{0, 1}, &m));
    EXPECT_EQ(m.start.offset, 2u);
    ASSERT_TRUE(PageMatcher("ab", {}).last_before(abab, TextPlace{0, 2}, &m));
    EXPECT_EQ(m.start.offset, 0u);
    ASSERT_TRUE(PageMatcher("ab", {}).last_before(abab, TextPlace{1, 0}, &m));
    EXPECT_EQ(m.start.offset, 2u);
    EXPECT_EQ(first_match(abab, ""), "");
    EXPECT_EQ(first_match(texts_of({"a \t b"}), "a b"), "a \t b");  // blanks match blanks
}

// Find reads the page as the user does: across the pieces of a line and
// the line breaks of one wrapped text, not across other lines.
TEST_F(PageTextTest, MatchesRunAcrossPiecesOfALineAndWrappedLines) {
    PageBuilder p = page();
    p.aligned_text(1.0f, 1.0f, 0, "Total")
        .aligned_text(2.0f, 1.0f, 0, "due 1,204.50")
        .aligned_text(1.0f, 2.0f, 2, "Page")
        .page_number(1.2f, 2.0f, 2, 0)
        .aligned_text(1.5f, 2.0f, 2, "of")
        .page_total(1.8f, 2.0f, 2, 0)
        // 96 pixels wide: "a sentence" fits, "that" goes to the next line.
        .wrapped_text(1.0f, 3.0f, 2.0f, 4.0f, "a sentence that ends")
        .wrapped_text(3.0f, 3.0f, 3.5f, 4.0f, "abcdefghijkmnop")  // broken inside the word
        .aligned_text(1.0f, 5.0f, 0, "Invoice")
        .aligned_text(1.0f, 5.5f, 0, "number")
        .end_of_page();
    const PageText t = read(p, 7, 12);
    auto finds = [&](const std::string& needle, const FindOptions& options) {
        DocumentSearch search(needle, options, true, 1, 1, nullptr);
        return search.look(t);
    };
    EXPECT_TRUE(finds("total due", {}));
    EXPECT_TRUE(finds("Page 7 of 12", {}));
    EXPECT_TRUE(finds("sentence that", {}));
    EXPECT_TRUE(finds("abcdefghijkmnop", {false, true}));
    EXPECT_FALSE(finds("invoice number", {}));  // two lines
    EXPECT_FALSE(finds("totaldue", {}));
    // The mark covers every piece the match spans.
    EXPECT_EQ(first_match(t, "total  due 1"), "Total|due 1");
    EXPECT_EQ(first_match(t, "page 7 of"), "Page|7|of");
    EXPECT_EQ(first_match(t, "sentence that"), "sentence|that");
}

TEST(TextFind, PageBytesFilterPassesOverPagesWithoutTheText) {
    const std::string bytes("\x02\x00" "xxInVoIcE 12", 14);
    const auto* b = reinterpret_cast<const uint8_t*>(bytes.data());
    EXPECT_TRUE(PageBytesFilter("invoice", {}).may_match(b, bytes.size()));
    EXPECT_FALSE(PageBytesFilter("invoice", {true, false}).may_match(b, bytes.size()));
    EXPECT_FALSE(PageBytesFilter("receipt", {}).may_match(b, bytes.size()));
    EXPECT_TRUE(PageBytesFilter("C", {}).may_match(b, bytes.size()));
    EXPECT_TRUE(PageBytesFilter("999", {}).may_match(b, 0));  // page numbers are not in the bytes
    // Words match within one record each: "Invoice 12 of 40" may stand on a page whose
    // records are "Invoice 12", "of" and a page total.
    const std::string words("\x02\x00" "Invoice 12 \x02\x00of", 17);
    const auto* w = reinterpret_cast<const uint8_t*>(words.data());
    EXPECT_TRUE(PageBytesFilter("invoice 12 of 40", {}).may_match(w, words.size()));
    EXPECT_FALSE(PageBytesFilter("invoice 12 to 40", {}).may_match(w, words.size()));
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
    TextMatch current{3, {0, 2}, {0, 6}};
    Walk next{{}, DocumentSearch("word", {}, true, 4, 3, &current)};
    run(next);
    EXPECT_EQ(next.search.match().start.item, 1);
    EXPECT_FALSE(next.search.wrapped());

    current = TextMatch{3, {1, 8}, {1, 12}};
    Walk wrap{{}, DocumentSearch("word", {}, true, 4, 3, &current)};
    run(wrap);
    EXPECT_EQ(wrap.pages, (std::vector<int16_t>{3, 4, 1}));
    EXPECT_TRUE(wrap.search.wrapped());

    current = TextMatch{1, {0, 0}, {0, 4}};
    Walk back{{}, DocumentSearch("word", {}, false, 4, 1, &current)};
    run(back);
    EXPECT_EQ(back.pages, (std::vector<int16_t>{1, 4, 3}));
    EXPECT_EQ(back.search.match().start.item, 1);
    EXPECT_TRUE(back.search.wrapped());

    Walk none{{}, DocumentSearch("absent", {}, true, 4, 2, &current)};
    run(none);
    EXPECT_FALSE(none.search.found());
    EXPECT_EQ(none.pages, (std::vector<int16_t>{2, 3, 4, 1}));
}

TEST(TextFind, TheOnlyMatchIsFoundAgainAfterTheWrap) {
    TextMatch current{1, {0, 0}, {0, 4}};
    Walk again{{}, DocumentSearch("word", {}, true, 2, 1, &current)};
    run(again);
    EXPECT_EQ(again.pages, (std::vector<int16_t>{1, 2, 1}));
    EXPECT_TRUE(again.search.found());
    EXPECT_TRUE(again.search.wrapped());
    EXPECT_EQ(again.search.match().page, 1);
}

}  // namespace
}  // namespace vell
