// The building messages on the viewer window's side: telling the generator
// the window's handle and its closing, and following the pages it announces.
// Windows only.
#pragma once

#include <windows.h>

namespace vell {

// Message 103 with this window's handle, to the header's builder window;
// only while the document is building.
void announce_viewer_window(HWND window);

// Message 104 ("Dummy Info") when the window closes while building.
void announce_viewer_closed();

// WM_COPYDATA from the generator: codes 100 (page added), 101 (finished)
// and 102 (progress); any other code is ignored.
void on_building_message(const COPYDATASTRUCT* message);

}  // namespace vell
