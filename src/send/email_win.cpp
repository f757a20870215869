// The e-mail commands: the document as its own .vel file or as a temporary
// self-extracting viewer (E-Mail), or as a temporary PDF (E-Mail as PDF),
// sent through Simple MAPI with the e-mail settings of the document. The document file is marked as a copy for as long as
// the command runs and gets its own header back on every way out.
#include <stdexcept>
#include <string>

#include "document/container.h"
#include "document/document.h"
#include "document/file_io.h"
#include "render/pictures.h"
#include "send/cairo_pdf_file.h"
#include "send/copy_mark.h"
#include "send/file_ops.h"
#include "send/mail_message.h"
#include "send/send.h"
#include "send/send_rules.h"
#include "send/simple_mapi.h"
#include "startup/module_path.h"
#include "ui_text/message_box.h"

namespace vell {

namespace {

// A temporary attachment made by this command: deleted when the command
// is over, whatever way it ends. Holds nothing until a build succeeded, so
// a file it did not make is never deleted.
class TemporaryAttachment {
public:
    TemporaryAttachment() = default;
    ~TemporaryAttachment() { remove(); }
    TemporaryAttachment(const TemporaryAttachment&) = delete;
    TemporaryAttachment& operator=(const TemporaryAttachment&) = delete;

    void adopt(const std::string& path) { path_ = path; }
    const std::string& path() const { return path_; }
    void remove() {
        if (!path_.empty()) delete_file(path_);
        path_.clear();
    }

private:
    std::string path_;
};

// Builds the self-extracting viewer to send under a claimed "~D" name in
// the temporary directory. Returns the message of a failure, else empty.
std::string build_viewer_attachment(const Document& doc, TemporaryAttachment* attachment) {
    File claimed;
    const std::string name = claim_temporary_file(system_file_system(), kAttachmentPrefix,
                                                  kAttachmentExtension, &claimed);
    if (name.empty()) return kNoTempNameMessage;
    // The claim made an empty file so that no other viewer takes the name;
    // the builder creates its output itself, new, and refuses an existing
    // one, so the empty file makes way for it.
    claimed.close();
    delete_file(name);
    const int16_t status = build_self_extracting(doc.path, module_path(), name);
    if (status != kBuildOk) return attachment_build_failed_message(status);
    attachment->adopt(name);
    return std::string();
}

// Logs on, sends, logs off and releases the library. Returns the message of
// a failure, else empty.
std::string send_email(const EmailSettings& email, const AttachmentEntry& attachment,
                       bool show_dialog) {
    MapiLibraryUse library;
    const uintptr_t session = mapi_logon(email.profile, email.password);
    if (!session) return kNoSessionMessage;
    // The attachment goes as one entry, whole: a ";" in its path or title
    // is part of the name, not a separator of further files.
    const MailMessage message =
        compose_mail(email.subject, email.text, mail_recipients(email.addresses, email.names),
                     {attachment}, local_time_now(), file_exists);
    const uint32_t result = mapi_send(session, message, show_dialog);
    mapi_logoff(session);
    return mapi_send_failed(result) ? email_send_failed_message(result) : std::string();
}

// Copies the document under a claimed "~D" name with the ".vel" extension
// and marks the copy. Returns its path, or the document's own path when no
// copy could be made (it then goes unmarked, as it stands).
std::string marked_copy_attachment(const Document& doc, TemporaryAttachment* attachment) {
    File claimed;
    const std::string name =
        claim_temporary_file(system_file_system(), kAttachmentPrefix, ".vel", &claimed);
    if (name.empty()) return doc.path;
    claimed.close();
    if (!copy_file(doc.path, name) || !mark_file_as_copy(name)) {
        delete_file(name);
        return doc.path;
    }
    attachment->adopt(name);
    return name;
}

// Writes the document as a PDF under a claimed "~D" name with the ".pdf"
// extension. Returns the message of a failure, else empty.
std::string pdf_attachment(Document& doc, TemporaryAttachment* attachment, PdfProgress progress) {
    File claimed;
    const std::string name = claim_temporary_file(system_file_system(), kAttachmentPrefix,
                                                  kPdfAttachmentExtension, &claimed);
    if (name.empty()) return kNoPdfTempNameMessage;
    claimed.close();
    // The claimed file is the attachment's from here on: it goes with the
    // command whether or not the PDF replaced it.
    attachment->adopt(name);
    return write_pdf_file(doc, name, progress);
}

void email_document_as_pdf(Document& doc, PdfProgress progress) {
    const bool show_dialog = email_shows_dialog(doc.email);
    TemporaryAttachment temporary;
    std::string message = pdf_attachment(doc, &temporary, progress);
    if (message.empty())
        message = send_email(doc.email,
                             {temporary.path(),
                              attachment_display_name(document_title(doc), kPdfAttachmentExtension)},
                             show_dialog);
    temporary.remove();
    if (!message.empty()) show_message(message);
}

void email_document(Document& doc) {
    const bool show_dialog = email_shows_dialog(doc.email);
    CopyMark mark(doc);
    TemporaryAttachment temporary;
    AttachmentEntry attachment;
    std::string message;
    if (email_sends_document_file(doc.email)) {
        attachment = {doc.path, attachment_display_name(document_title(doc), ".vel")};
        // A read-only document could not take the mark: a marked temporary
        // copy goes instead, so the receiver still gets a copy.
        if (!mark.applied()) attachment.path = marked_copy_attachment(doc, &temporary);
    } else {
        message = build_viewer_attachment(doc, &temporary);
        attachment = {temporary.path(), attachment_display_name(document_title(doc), ".exe")};
    }
    if (message.empty()) message = send_email(doc.email, attachment, show_dialog);
    // The file's own header first, then the temporary viewer goes; the user
    // reads about the outcome when both are done.
    mark.restore();
    temporary.remove();
    if (!message.empty()) show_message(message);
}

}  // namespace

void send_by_email() {
    try {
        email_document(the_document());
    } catch (const std::exception&) {
        // Only allocation can fail here; the header is back and the
        // temporary viewer gone (CopyMark, TemporaryAttachment).
        show_message(kOutOfMemoryMessage);
    }
}

void send_by_email_as_pdf(PdfProgress progress) {
    try {
        email_document_as_pdf(the_document(), progress);
    } catch (const std::exception&) {
        // The temporary PDF is gone (TemporaryAttachment).
        show_message(kOutOfMemoryMessage);
    }
}

}  // namespace vell
