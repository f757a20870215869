// The message box on Windows: MessageBoxA with the information icon and an
// OK button, owned by the window that set_message_box_owner names.
#include <windows.h>

#include <vector>

#include "document/document.h"
#include "document/text.h"
#include "ui_text/message_box.h"

namespace vell {

namespace {

// Texts handed to Windows go through zero-terminated buffers cut to fit:
// the 100-character title as caption.
void show_box(const char* message) {
    char caption[kTitleSize + 1];
    copy_to_buffer(caption, sizeof caption, message_box_caption(the_document()));
    MessageBoxA(static_cast<HWND>(message_box_owner()), message, caption,
                MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void show_message(const std::string& text) {
    char message[kMessageTextLimit + 1];
    copy_to_buffer(message, sizeof message, message_box_text(text));
    show_box(message);
}

void show_whole_message(const std::string& text) {
    const std::string whole = whole_message_text(text);
    std::vector<char> message(whole.size() + 1, '\0');
    copy_to_buffer(message.data(), message.size(), whole);
    show_box(message.data());
}

}  // namespace vell
