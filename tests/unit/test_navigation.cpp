// Navigation: the four moves and what they refresh, the jump dialog's input,
// the navigation buttons, the status text and the document index box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/document.h"
#include "ui_text/labels.h"
#include "viewer/navigation.h"

namespace vell {
namespace {

Navigation at(int16_t page, int32_t count) { return Navigation{page, count}; }

IndexEntry entry(int16_t page, const std::string& name) { return IndexEntry{page, name}; }

TEST(NavigationMoves, RefreshesAndStopsAtTheEnds) {
    Navigation nav = at(11, 12);
    EXPECT_EQ(next_page(nav), unsigned(kRefreshAll));
    EXPECT_EQ(next_page(nav), unsigned(kRefreshToolbar));  // beyond the last page
    EXPECT_EQ(nav.current_page, 12);
    EXPECT_EQ(last_page(nav), unsigned(kRefreshAll));      // always redraws
    EXPECT_EQ(first_page(nav), unsigned(kRefreshAll));
    EXPECT_EQ(previous_page(nav), unsigned(kRefreshToolbar));
    EXPECT_EQ(nav.current_page, 1);
    // A building document before its first page never shows page 0, and
    // the largest document does not overflow.
    nav = at(1, 0);
    last_page(nav);
    EXPECT_EQ(nav.current_page, 1);
    nav = at(32767, 32767);
    EXPECT_EQ(next_page(nav), unsigned(kRefreshToolbar));
    EXPECT_EQ(nav.current_page, 32767);
}

TEST(JumpDialog, OnlyPagesOfTheDocumentAreAccepted) {
    int16_t page = 0;
    EXPECT_TRUE(parse_jump_page("  7  ", 12, &page));
    EXPECT_EQ(page, 7);
    EXPECT_TRUE(parse_jump_page("3.9", 12, &page));  // fraction dropped
    EXPECT_EQ(page, 3);
    EXPECT_TRUE(parse_jump_page(std::string(98, ' ') + "4", 12, &page));
    EXPECT_EQ(page, 4);
    page = 42;
    for (const char* text : {"0", "-3", "13", "abc", "", "-0.5", "99999999999"})
        EXPECT_FALSE(parse_jump_page(text, 12, &page)) << text;
    EXPECT_FALSE(parse_jump_page(std::string(99, ' ') + "4", 12, &page));  // 99 characters read
    EXPECT_EQ(page, 42);

    Navigation nav = at(4, 12);
    EXPECT_EQ(finish_jump(nav, 4), unsigned(kRefreshNone));
    nav.current_page = 9;
    EXPECT_EQ(finish_jump(nav, 4), unsigned(kRefreshAll));
    EXPECT_EQ(jump_prompt("Which page?", 1), "Which page? ( 1 - 1 )");
}

TEST(ToolbarStates, FirstMiddleLastAndSinglePages) {
    auto states = [](int16_t page, int32_t count) {
        const ToolbarStates s = toolbar_states(at(page, count));
        return std::string() + (s.first ? 'F' : '-') + (s.previous ? 'P' : '-') +
               (s.next ? 'N' : '-') + (s.last ? 'L' : '-');
    };
    EXPECT_EQ(states(1, 12), "--NL");
    EXPECT_EQ(states(6, 12), "FPNL");
    EXPECT_EQ(states(12, 12), "FP--");
    EXPECT_EQ(states(1, 1), "----");
    EXPECT_EQ(states(1, 0), "----");
}

TEST(StatusText, PageCountAndIndexNames) {
    const std::vector<IndexEntry> index = {entry(2, "Summary"), entry(3, "  North  "),
                                           entry(3, "South"), entry(3, "West   "),
                                           entry(5, std::string("Costs\0junk", 10))};
    auto text = [&](int16_t page) {
        return navigation_status_text(at(page, 12), false, index, "Page", "of");
    };
    EXPECT_EQ(text(1), "Page 1 of 12");
    EXPECT_EQ(text(2), "Page 2 of 12       Summary");
    EXPECT_EQ(text(3), "Page 3 of 12       North ... West");
    EXPECT_EQ(text(5), "Page 5 of 12       Costs");
    EXPECT_EQ(navigation_status_text(at(3, 4), true, index, "Page", "of"), "3 of ?  Building 5");
    // A complete document of no pages (a building one that ended so).
    EXPECT_EQ(navigation_status_text(at(1, 0), false, index, "Page", "of"), "Page 0 of 0");
    // One whose header claims a negative count: page 1's names are no page's.
    EXPECT_EQ(navigation_status_text(at(1, 0), false, {entry(1, "Cover")}, "Page", "of"),
              "Page 0 of 0");

    Document doc;
    doc.index = {entry(2, "Anhang")};
    set_window_label(doc, 14, "Seite");
    set_window_label(doc, 15, "von");
    EXPECT_EQ(navigation_status_text(at(2, 9), doc), "Seite 2 von 9       Anhang");
    set_window_label(doc, 0, "");
}

TEST(IndexBox, ItemsAndSelection) {
    const std::vector<IndexEntry> index = {entry(4, "Four  "), entry(0, std::string("Zero\0x", 6)),
                                           entry(99, "Beyond")};
    EXPECT_TRUE(index_box_items("< Document Index >", {}).empty());
    EXPECT_EQ(index_box_items("< Document Index >", index),
              (std::vector<std::string>{"< Document Index >", "Four  ", "Zero", "Beyond"}));

    Navigation nav = at(2, 12);
    EXPECT_EQ(select_index_item(nav, index, 1), unsigned(kRefreshAll));
    EXPECT_EQ(nav.current_page, 4);
    select_index_item(nav, index, 2);
    EXPECT_EQ(nav.current_page, 1);
    select_index_item(nav, index, 3);
    EXPECT_EQ(nav.current_page, 12);
    for (int item : {0, -1, 4}) EXPECT_EQ(select_index_item(nav, index, item), unsigned(kRefreshNone));
    EXPECT_EQ(nav.current_page, 12);
}

}  // namespace
}  // namespace vell
