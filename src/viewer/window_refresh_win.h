// Bringing the viewer window's parts up to date after the page, the page
// count or the document changed: status text, navigation button states,
// the page image, the index box. Windows only.
#pragma once

namespace vell {

// Refreshes what the flags of navigation.h ask for (kRefreshStatus,
// kRefreshToolbar, kRefreshRedraw), in that order.
void refresh_window(unsigned flags);

// The navigation's page count follows the document's.
void sync_page_count();

// Fills the index box from the document index and shows it, or hides it
// when there are no entries; nothing while the document is building.
void fill_index_box();

// The index box's selection changed: jump to that entry's page.
void on_index_selection();

}  // namespace vell
