// The window labels: 26 replaceable texts of the user interface (menu texts,
// toolbar tips, zoom and index entries, status words, the jump and password
// dialogs, two password messages). They start from built-in English texts
// and a document can replace them, through its header (labels 11, 12 and 18
// to 23) or through window label records on its pages.
//
// The table lives for the whole process and needs no window. The viewer
// window plugs a LabelSink in while it exists, so that a changed label also
// changes the menu item or the zoom label that shows it.
#pragma once

#include <string>

namespace vell {

struct Document;

constexpr int kLabelCount = 26;

// The text of label n (1..26); empty for any other number.
const std::string& window_label(int n);

// The built-in text of label n (1..26); empty for any other number.
const char* builtin_label(int n);

// Where a label is shown besides the table itself. The window implements
// these while it exists; every pointer may be null, and so is the whole sink
// before the window exists, when setting a label only stores it.
struct LabelSink {
    void* context = nullptr;
    // The text of a menu popup, by position (0 File, 1 Document).
    void (*menu_popup_text)(void* context, int position, const std::string& text) = nullptr;
    // The text of a menu command, by command id (701..710).
    void (*menu_command_text)(void* context, int command_id, const std::string& text) = nullptr;
    // The window text of the zoom label (control 106).
    void (*zoom_label_text)(void* context, const std::string& text) = nullptr;
};

// Installs the sink (a copy is kept); pass LabelSink{} to remove it.
void set_label_sink(const LabelSink& sink);

// Set a window label. n = 0 resets every label to its built-in text and then
// applies the header overrides of doc in the order 20, 21, 22, 23, 18, 19,
// 11, 12 (text is ignored). n = 1..21 and 24..26 store text and update what
// shows it. 22, 23 and any other number are ignored: the two password
// messages can be replaced only through the header.
void set_window_label(const Document& doc, int n, const std::string& text);

// The same on the document of the process.
void set_window_label(int n, const std::string& text);

// The menu command that shows label n (3..9, 24..26), else 0.
int label_menu_command(int n);

// The label whose text is the tooltip of toolbar button id (751..760), else 0.
int tooltip_label(int toolbar_id);

}  // namespace vell
