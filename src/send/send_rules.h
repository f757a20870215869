// The decisions and messages of the e-mail and fax commands, apart from the
// windows and the mail system they drive.
#pragma once

#include <cstdint>
#include <string>

namespace vell {

struct EmailSettings;
struct FaxSettings;

// Temporary self-extracting viewers sent as attachments.
constexpr char kAttachmentPrefix[] = "~D";
constexpr char kAttachmentExtension[] = ".exe";

// Temporary PDF attachments of E-Mail as PDF.
constexpr char kPdfAttachmentExtension[] = ".pdf";
constexpr char kNoPdfTempNameMessage[] =
    "Unable to create pdf attachment. Can't obtain temp .pdf name for sending.";

constexpr char kNoTempNameMessage[] =
    "Unable to create exe attachment. Can't obtain temp .exe name for sending.";
constexpr char kNoSessionMessage[] = "Unable to obtain mapi session handle";
// What the commands say when they cannot go on for want of memory.
constexpr char kOutOfMemoryMessage[] = "Not enough memory to finish this command.";
constexpr char kFaxNeedsNameAndNumberMessage[] = "You must provide both a name and a fax number";
constexpr char kFaxNeedsRecipientMessage[] =
    "You must provide at least one fax recipient in order to continue.";

// The mail system's send dialog is shown when the document has no e-mail
// settings or leaves its recipient names or addresses blank (there is no
// one to send to without asking); otherwise as the settings say.
bool email_shows_dialog(const EmailSettings& email);

// The document file itself goes out only when the e-mail settings exist and
// ask for it; otherwise a self-extracting viewer is built and sent.
bool email_sends_document_file(const EmailSettings& email);

// The fax dialog is shown when the document has no fax settings or no fax
// recipients; otherwise as the settings say.
bool fax_shows_dialog(const FaxSettings& fax);

// The name the recipient sees: the trimmed title with the extension.
std::string attachment_display_name(const std::string& title, const std::string& extension);

// A mail system result that is neither sent (0) nor cancelled by the user (1).
bool mapi_send_failed(uint32_t result);

std::string attachment_build_failed_message(int16_t status);
std::string email_send_failed_message(uint32_t result);
std::string fax_send_failed_message(uint32_t result);

}  // namespace vell
