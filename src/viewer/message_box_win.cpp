// The message box on Windows: MessageBoxA with the information icon and an
// OK button, owned by the window that set_message_box_owner names.
#include <windows.h>

#include "document/document.h"
#include "document/text.h"
#include "viewer/message_box.h"

namespace vell {

void show_message(const std::string& text) {
    // Texts handed to Windows go through fixed, zero-terminated buffers cut
    // to fit: 299 characters of text, the 100-character title as caption.
    char message[kMessageTextLimit + 1];
    char caption[kTitleSize + 1];
    copy_to_buffer(message, sizeof message, message_box_text(text));
    copy_to_buffer(caption, sizeof caption, message_box_caption(the_document()));
    MessageBoxA(static_cast<HWND>(message_box_owner()), message, caption,
                MB_OK | MB_ICONINFORMATION);
}

}  // namespace vell
