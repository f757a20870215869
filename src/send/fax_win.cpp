// The fax command: the document file sent through Simple MAPI to "FAX:"
// recipients, after the fax dialog when the document asks for it or names
// no recipients. The document file is not changed.
#include <stdexcept>
#include <string>

#include "document/document.h"
#include "document/file_io.h"
#include "send/fax_dialog.h"
#include "send/fax_recipients.h"
#include "send/mail_message.h"
#include "send/send.h"
#include "send/send_rules.h"
#include "send/simple_mapi.h"
#include "ui_text/message_box.h"

namespace vell {

namespace {

// Logs on, lets the user choose the recipients when asked to, sends, logs
// off. Returns the message of a failure, else empty; the library is
// released by the caller's MapiLibraryUse.
std::string send_fax(FaxSettings& fax, const AttachmentEntry& attachment, bool show_dialog) {
    const uintptr_t session = mapi_logon(fax.profile, fax.password);
    if (!session) return kNoSessionMessage;
    fax.recipients = normalise_fax_recipients(fax.recipients);
    if (show_dialog && !run_fax_dialog(fax)) {
        mapi_logoff(session);
        return std::string();
    }
    // Every recipient's name and address is the same "FAX:" entry; the mail
    // system's own send dialog is never shown for a fax.
    const MailMessage message =
        compose_mail(fax.subject, fax.text, mail_recipients(fax.recipients, fax.recipients),
                     {attachment}, local_time_now(), file_exists);
    const uint32_t result = mapi_send(session, message, false);
    mapi_logoff(session);
    return mapi_send_failed(result) ? fax_send_failed_message(result) : std::string();
}

void fax_document(Document& doc) {
    const bool show_dialog = fax_shows_dialog(doc.fax);
    const AttachmentEntry attachment = {doc.path,
                                        attachment_display_name(document_title(doc), ".vel")};
    std::string message;
    {
        MapiLibraryUse library;
        message = send_fax(doc.fax, attachment, show_dialog);
    }
    if (!message.empty()) show_message(message);
}

}  // namespace

void send_by_fax() {
    try {
        fax_document(the_document());
    } catch (const std::exception&) {
        show_message(kOutOfMemoryMessage);
    }
}

}  // namespace vell
