// The message box through which every message reaches the user: an
// information icon, one OK button, the text trimmed and cut at 299
// characters, and the document title (or "vell Print and Preview") as its
// caption. Multi-line messages use a single carriage return as line break.
#pragma once

#include <string>

namespace vell {

struct Document;

constexpr size_t kMessageTextLimit = 299;
constexpr char kProgramCaption[] = "vell Print and Preview";

// The text as shown: trimmed of blanks, cut at its first NUL and at 299.
std::string message_box_text(const std::string& text);

// The caption: the document title cut at its first zero byte and trimmed;
// "vell Print and Preview" when that is empty.
std::string message_box_caption(const Document& doc);

// The window that owns message boxes: the fax dialog while it is open, else
// the viewer window once it exists, else none (null). An HWND on Windows.
void set_message_box_owner(void* window);
void* message_box_owner();

// Shows the message for the document of the process and returns when the
// user has pressed OK. Windows only (message_box_win.cpp).
void show_message(const std::string& text);

// The same for a text of the program's own that is longer than the cut
// (the unknown-record notice): trimmed, never cut, so the user reads all
// of it.
std::string whole_message_text(const std::string& text);
void show_whole_message(const std::string& text);

}  // namespace vell
