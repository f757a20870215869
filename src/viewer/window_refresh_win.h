// Bringing the viewer window's parts up to date after the page, the page
// count or the document changed: status text, navigation button states,
// the page image, the index box. Windows only.
#pragma once

#include <string>

namespace vell {

// Refreshes what the flags of navigation.h ask for (kRefreshStatus,
// kRefreshToolbar, kRefreshRedraw), in that order.
void refresh_window(unsigned flags);

// The navigation's page count follows the document's.
void sync_page_count();

// Fills the index box from the document index and shows it, or hides it
// when there are no entries; nothing while the document is building.
void fill_index_box();

// The index box's notifications (CBN_...). A choice is a jump when it is
// accepted: Enter or a click in the open list (the box then shows item 0
// again), or an arrow key in the closed, focused box, which rests on the
// entry chosen until the box loses the focus, so the next arrow goes on
// from there. Moving the highlight in the open list is no choice yet.
void on_index_box(int notification);

// A notice beside the page number in the status bar ("Not found"): it
// stays through the status updates of a building document and goes at the
// user's next action.
void show_status_notice(const std::string& notice);
void drop_status_notice();

}  // namespace vell
