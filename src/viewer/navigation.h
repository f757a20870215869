// Moving between pages: the current page and the page count of the viewer
// window, first / previous / next / last, the jump dialog's input, the
// document index box, the enabled states of the four navigation buttons and
// the status text that names the page shown.
//
// Everything here is portable: the window asks these functions what to do
// and applies the answer (status text, button states, redraw).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vell {

struct Document;
struct IndexEntry;

// The viewer's navigation state: the page shown (1-based, signed 16-bit as
// every page number) and the page count (the page index's, or the pages
// received so far while the document is building).
struct Navigation {
    int16_t current_page = 1;
    int32_t page_count = 0;
};
Navigation& navigation();

// What a navigation step asks the window to refresh, as bit flags.
enum Refresh : unsigned {
    kRefreshNone = 0,
    kRefreshStatus = 1,   // the status bar's text
    kRefreshToolbar = 2,  // the enabled states of buttons 752..755
    kRefreshRedraw = 4,   // render the current page again
    kRefreshAll = kRefreshStatus | kRefreshToolbar | kRefreshRedraw,
};

// The four moves. First and last always refresh everything. Next beyond the
// page count and previous below 1 put the page back and refresh only the
// toolbar states. The current page never drops below 1, not even while a
// building document has no page yet (page count 0).
unsigned first_page(Navigation& nav);
unsigned previous_page(Navigation& nav);
unsigned next_page(Navigation& nav);
unsigned last_page(Navigation& nav);

// After the jump dialog: nothing when the current page is still
// page_before; else the page is held to 1..page count and everything is
// refreshed.
unsigned finish_jump(Navigation& nav, int16_t page_before);

// The jump dialog's Ok: the first 99 characters of the edit's text, trimmed,
// read as a number with its fraction dropped towards minus infinity. True,
// with *page set, only for 1..page_count; anything else is ignored.
constexpr size_t kJumpInputLimit = 99;
bool parse_jump_page(const std::string& edit_text, int32_t page_count, int16_t* page);

// The jump dialog's prompt: label 17, " ( 1 -", the page count with one
// leading blank, " )". The one-argument form reads label 17 from the table.
std::string jump_prompt(const std::string& label17, int32_t page_count);
std::string jump_prompt(int32_t page_count);

// Enabled states of the toolbar's First (752), Previous (753), Next (754)
// and Last (755) buttons:
//  1. on the last page: Next and Last off, First and Previous on when the
//     page is above 1;
//  2. else on page 1: First and Previous off, Next and Last on when there
//     is more than one page;
//  3. else all four on.
struct ToolbarStates {
    bool first = false;
    bool previous = false;
    bool next = false;
    bool last = false;
};
ToolbarStates toolbar_states(const Navigation& nav);

// The names of the index entries that point at page: none gives "", one its
// name, two or more the first, " ... " and the last (each cut at a zero
// byte and trimmed).
std::string page_index_names(const std::vector<IndexEntry>& index, int32_t page);

// The status text. While building: the page, " of ?  Building " and the page
// count plus one ("3 of ?  Building 5"). Complete: label 14, blank, page,
// blank, label 15, blank, page count, seven blanks, the page's index names,
// then trimmed as the window-text operation shows it ("Page 3 of 12" when
// the page has no names; "Page 0 of 0", without names, for a document
// without pages). The short form takes labels 14 and 15 from the
// table and the building flag and index from the document.
std::string navigation_status_text(const Navigation& nav, bool building,
                                   const std::vector<IndexEntry>& index,
                                   const std::string& label14, const std::string& label15);
std::string navigation_status_text(const Navigation& nav, const Document& doc);

// The status text with a notice beside it ("Page 2 of 5   Not found"); the
// text alone when there is no notice.
std::string status_with_notice(const std::string& status, const std::string& notice);

// The index box's items: label 13, then every entry's name as stored, cut
// at a zero byte (not trimmed). Empty when there are no entries: the window
// then hides the box. The one-argument form reads label 13 from the table.
std::vector<std::string> index_box_items(const std::string& label13,
                                         const std::vector<IndexEntry>& index);
std::vector<std::string> index_box_items(const std::vector<IndexEntry>& index);

// The index box's selection changed to item. Item k above 0 makes entry k's
// page current, held to 1..page count, and refreshes everything (the window
// then selects item 0 again). Item 0, no selection (-1) and items past the
// entries change nothing.
unsigned select_index_item(Navigation& nav, const std::vector<IndexEntry>& index, int item);

}  // namespace vell
