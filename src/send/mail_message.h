// The message that goes to the mail system, composed from the system's own
// texts: recipients and attachments held as lists whose entries are
// separated by ";", the note text with one blank per attachment for the
// mail system to put the attachment at, and the date text. Nothing here
// touches Windows; mapi_win.cpp turns the result into Simple MAPI records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vell {

// Field limits: each field is held in a fixed buffer with its terminating
// zero, so a longer text is cut to these lengths.
constexpr size_t kLogonTextLimit = 199;      // profile name, password
constexpr size_t kSubjectLimit = 999;
constexpr size_t kNoteLimit = 32767;
constexpr size_t kRecipientTextLimit = 299;  // one name or one address
constexpr size_t kAttachmentPathLimit = 299;
constexpr size_t kAttachmentNameLimit = 99;
constexpr size_t kDateTextLimit = 49;

// Simple MAPI's "no position given" for an attachment.
constexpr uint32_t kNoAttachmentPosition = 0xFFFFFFFFu;

// The entries of a list: a list with k separators has k + 1 entries, taken
// as they stand (no trimming, no quoting).
std::vector<std::string> split_list(const std::string& list);
// Entry i (0-based) of a list; empty beyond the last.
std::string list_entry(const std::vector<std::string>& entries, size_t i);

struct MailRecipient {
    std::string name;
    std::string address;
};

// One attachment as a caller names it: the file and the name the recipient
// sees.
struct AttachmentEntry {
    std::string path;
    std::string name;
};

// One attachment as it goes out: the file exists, and position is where in
// the note text its blank stands.
struct MailAttachment {
    std::string path;
    std::string name;
    uint32_t position = kNoAttachmentPosition;
};

struct MailMessage {
    std::string subject;
    std::string note;
    std::string date;
    std::vector<MailRecipient> recipients;
    std::vector<MailAttachment> attachments;
};

// The local date and time the date text is written from.
struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// "MM-DD-YYYY HH:MM:SS": two digits for every part but the four-digit year.
std::string mail_date_text(const LocalTime& time);

// The recipients of a name list and an address list paired by position:
// none when the name list is blank, else one per name-list entry, the
// address empty when the address list has fewer entries. Both cut to 299.
std::vector<MailRecipient> mail_recipients(const std::string& addresses, const std::string& names);

// The attachments of a path list and a display-name list paired by
// position: none when the path list is blank, else one per path-list entry.
std::vector<AttachmentEntry> attachment_entries(const std::string& paths, const std::string& names);

// Logon profile name and password as they are handed to the mail system:
// trimmed and cut to 199 characters.
std::string logon_text(const std::string& text);

// Composes the message. The note is the given note trimmed, a carriage
// return and line feed, and one blank per attachment entry, cut to 32767
// characters; an entry whose file does not exist (file_exists false) is
// dropped, and each kept one points at the blank of its entry.
MailMessage compose_mail(const std::string& subject, const std::string& note,
                         std::vector<MailRecipient> recipients,
                         const std::vector<AttachmentEntry>& attachments, const LocalTime& now,
                         const std::function<bool(const std::string&)>& file_exists);

}  // namespace vell
