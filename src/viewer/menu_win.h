// The viewer window's menu and the label effects on the window: menu texts
// from the labels, removing the commands a document does not offer, and the
// label sink that keeps menu and zoom label in step with label changes.
// Windows only.
#pragma once

#include <windows.h>

namespace vell {

// Attaches the menu (if it was loaded), sets its texts from the labels and
// prunes it.
void attach_menu(HWND window);

// Deletes the commands the document does not offer; nothing while the
// document is building. Deleting a command twice is harmless.
void prune_menu(HWND window);

// Installs the label sink that updates the menu and the zoom label; and
// removes it again when the window has gone.
void plug_label_effects();
void unplug_label_effects();

}  // namespace vell
