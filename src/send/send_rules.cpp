#include "send/send_rules.h"

#include "document/document.h"
#include "document/text.h"

namespace vell {

bool email_shows_dialog(const EmailSettings& email) {
    if (!email.present || trim(email.names).empty() || trim(email.addresses).empty()) return true;
    return email.show_dialog != 0;
}

bool email_sends_document_file(const EmailSettings& email) {
    return email.present && email.attach_as_viewer == 0;
}

bool fax_shows_dialog(const FaxSettings& fax) {
    if (!fax.present || trim(fax.recipients).empty()) return true;
    return fax.show_dialog != 0;
}

std::string attachment_display_name(const std::string& title, const std::string& extension) {
    return trim(title) + extension;
}

bool mapi_send_failed(uint32_t result) { return result != 0 && result != 1; }

std::string attachment_build_failed_message(int16_t status) {
    return "Can't creating self extracting viewer file as email attachment. Status =" +
           message_number(status);
}

// The mail system's 32-bit result is written as a signed number, like every
// number in a message.
std::string email_send_failed_message(uint32_t result) {
    return "Unable to send document. Mapi failure error =" + message_number(int32_t(result));
}

std::string fax_send_failed_message(uint32_t result) {
    return "Unable to fax document. Mapi failure error =" + message_number(int32_t(result));
}

}  // namespace vell
