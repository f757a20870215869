#include "viewer/navigation.h"

#include "document/document.h"
#include "document/format.h"
#include "document/text.h"
#include "ui_text/labels.h"

namespace vell {

namespace {

// The highest page the navigation can make current: the page count, but
// never below 1 (a building document may have received no page yet) and
// never beyond the 16-bit page numbers.
int32_t highest_page(const Navigation& nav) {
    if (nav.page_count < 1) return 1;
    return nav.page_count > kMaxPages ? kMaxPages : nav.page_count;
}

int16_t held_page(const Navigation& nav, int64_t page) {
    if (page < 1) return 1;
    const int32_t highest = highest_page(nav);
    return int16_t(page > highest ? highest : page);
}

std::string entry_name(const IndexEntry& entry) {
    return trim(cut_text(entry.name, entry.name.size()));
}

}  // namespace

Navigation& navigation() {
    static Navigation state;
    return state;
}

unsigned first_page(Navigation& nav) {
    nav.current_page = 1;
    return kRefreshAll;
}

unsigned last_page(Navigation& nav) {
    nav.current_page = held_page(nav, nav.page_count);
    return kRefreshAll;
}

unsigned next_page(Navigation& nav) {
    const int64_t next = int64_t(nav.current_page) + 1;
    if (next > highest_page(nav)) {
        nav.current_page = held_page(nav, nav.page_count);
        return kRefreshToolbar;
    }
    nav.current_page = int16_t(next);
    return kRefreshAll;
}

unsigned previous_page(Navigation& nav) {
    const int64_t previous = int64_t(nav.current_page) - 1;
    if (previous < 1) {
        nav.current_page = 1;
        return kRefreshToolbar;
    }
    nav.current_page = held_page(nav, previous);
    return kRefreshAll;
}

unsigned finish_jump(Navigation& nav, int16_t page_before) {
    if (nav.current_page == page_before) return kRefreshNone;
    nav.current_page = held_page(nav, nav.current_page);
    return kRefreshAll;
}

bool parse_jump_page(const std::string& edit_text, int32_t page_count, int16_t* page) {
    const long long value = leading_number(trim(cut_text(edit_text, kJumpInputLimit)));
    if (value < 1 || value > page_count || value > kMaxPages) return false;
    *page = int16_t(value);
    return true;
}

std::string jump_prompt(const std::string& label17, int32_t page_count) {
    return label17 + " ( 1 -" + message_number(page_count) + " )";
}

std::string jump_prompt(int32_t page_count) { return jump_prompt(window_label(17), page_count); }

ToolbarStates toolbar_states(const Navigation& nav) {
    ToolbarStates s;
    if (nav.current_page == nav.page_count) {
        s.first = s.previous = nav.current_page > 1;
    } else if (nav.current_page == 1) {
        s.next = s.last = nav.page_count > 1;
    } else {
        s.first = s.previous = s.next = s.last = true;
    }
    return s;
}

std::string page_index_names(const std::vector<IndexEntry>& index, int32_t page) {
    const IndexEntry* first = nullptr;
    const IndexEntry* last = nullptr;
    for (const IndexEntry& entry : index) {
        if (entry.page != page) continue;
        if (!first) first = &entry;
        last = &entry;
    }
    if (!first) return std::string();
    if (first == last) return entry_name(*first);
    return entry_name(*first) + " ... " + entry_name(*last);
}

std::string navigation_status_text(const Navigation& nav, bool building,
                                   const std::vector<IndexEntry>& index,
                                   const std::string& label14, const std::string& label15) {
    // While building, the count shown is the page the generator writes now.
    if (building)
        return std::to_string(nav.current_page) + " of ?  Building " +
               std::to_string(int64_t(nav.page_count) + 1);
    // A complete document without pages (its header may even claim a
    // negative count) shows no page, and so no page's index names either.
    const bool no_pages = nav.page_count < 1;
    const std::string page = std::to_string(no_pages ? 0 : nav.current_page);
    const std::string names = no_pages ? std::string() : page_index_names(index, nav.current_page);
    return trim(label14 + " " + page + " " + label15 + " " + std::to_string(nav.page_count) +
                "       " + names);
}

std::string status_with_notice(const std::string& status, const std::string& notice) {
    return notice.empty() ? status : status + "   " + notice;
}

std::string navigation_status_text(const Navigation& nav, const Document& doc) {
    return navigation_status_text(nav, doc.building, doc.index, window_label(14),
                                  window_label(15));
}

std::vector<std::string> index_box_items(const std::string& label13,
                                         const std::vector<IndexEntry>& index) {
    std::vector<std::string> items;
    if (index.empty()) return items;
    items.push_back(label13);
    for (const IndexEntry& entry : index)
        items.push_back(cut_text(entry.name, size_t(kIndexNameSize)));
    return items;
}

std::vector<std::string> index_box_items(const std::vector<IndexEntry>& index) {
    return index_box_items(window_label(13), index);
}

unsigned select_index_item(Navigation& nav, const std::vector<IndexEntry>& index, int item) {
    if (item < 1 || size_t(item) > index.size()) return kRefreshNone;
    nav.current_page = held_page(nav, index[size_t(item) - 1].page);
    return kRefreshAll;
}

}  // namespace vell
