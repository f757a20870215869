// The viewer window's toolbar: its buttons, their enabled states and their
// tooltips. Windows only.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace vell {

struct Document;

// Creates the toolbar (id 112) with the buttons the document allows, sizes
// it and shows it. Makes the toolbar bitmap (kept in the viewer resources).
HWND create_toolbar(HWND window, HINSTANCE instance, const Document& doc);

// Enables or disables one button; a button the toolbar lacks is ignored.
void enable_tool(HWND toolbar, int id, bool enabled);

// Answers a tooltip's request for text: the label of an enabled button,
// kept in the window's own storage; a disabled button gets no text.
void answer_tooltip(HWND toolbar, NMHDR* notification);

}  // namespace vell
