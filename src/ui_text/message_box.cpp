#include "ui_text/message_box.h"

#include "document/document.h"
#include "document/text.h"

namespace vell {

namespace {
void*& owner_slot() {
    static void* owner = nullptr;
    return owner;
}
}  // namespace

std::string message_box_text(const std::string& text) {
    return cut_text(trim(text), kMessageTextLimit);
}

std::string whole_message_text(const std::string& text) {
    return trim(text.substr(0, text.find('\0')));
}

std::string message_box_caption(const Document& doc) {
    std::string title = document_title(doc);
    return title.empty() ? std::string(kProgramCaption) : title;
}

void set_message_box_owner(void* window) { owner_slot() = window; }
void* message_box_owner() { return owner_slot(); }

}  // namespace vell
