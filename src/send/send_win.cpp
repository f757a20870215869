// E-mail, fax and save. Not built yet: the user is told so; nothing is sent
// or written.
#include "send/send.h"

#include "viewer/message_box.h"

namespace vell {

void send_by_email() {
    show_message("Sending by e-mail is not available in this version of vell yet.");
}

void send_by_fax() {
    show_message("Sending by fax is not available in this version of vell yet.");
}

void save_document() {
    show_message("Saving is not available in this version of vell yet.");
}

}  // namespace vell
