// The viewer window: the main dialog in which a document is read.
#pragma once

namespace vell {

// The interface resources shared by the viewer window and its dialogs:
// created before a document is used, destroyed after (start-up owns them).
void create_viewer_resources();
void destroy_viewer_resources();

// Runs the viewer window modally, with no owner; returns when it closes.
void run_viewer_window();

}  // namespace vell
