#include "send/mail_message.h"

#include <cstdio>

#include "document/text.h"

namespace vell {

std::vector<std::string> split_list(const std::string& list) {
    std::vector<std::string> entries;
    size_t start = 0;
    for (;;) {
        size_t separator = list.find(';', start);
        if (separator == std::string::npos) break;
        entries.push_back(list.substr(start, separator - start));
        start = separator + 1;
    }
    entries.push_back(list.substr(start));
    return entries;
}

std::string list_entry(const std::vector<std::string>& entries, size_t i) {
    return i < entries.size() ? entries[i] : std::string();
}

std::string mail_date_text(const LocalTime& time) {
    // Each part is reduced to its field width, so a nonsense clock can never
    // make the text longer than its 19 characters.
    char text[32];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d %02d:%02d:%02d", time.month % 100,
                  time.day % 100, time.year % 10000, time.hour % 100, time.minute % 100,
                  time.second % 100);
    return cut_text(text, kDateTextLimit);
}

std::vector<MailRecipient> mail_recipients(const std::string& addresses, const std::string& names) {
    std::vector<MailRecipient> recipients;
    if (trim(names).empty()) return recipients;
    const std::vector<std::string> name_entries = split_list(names);
    const std::vector<std::string> address_entries = split_list(addresses);
    for (size_t i = 0; i < name_entries.size(); ++i) {
        MailRecipient r;
        r.name = cut_text(name_entries[i], kRecipientTextLimit);
        r.address = cut_text(list_entry(address_entries, i), kRecipientTextLimit);
        recipients.push_back(r);
    }
    return recipients;
}

std::vector<AttachmentEntry> attachment_entries(const std::string& paths, const std::string& names) {
    std::vector<AttachmentEntry> entries;
    if (trim(paths).empty()) return entries;
    const std::vector<std::string> path_entries = split_list(paths);
    const std::vector<std::string> name_entries = split_list(names);
    for (size_t i = 0; i < path_entries.size(); ++i)
        entries.push_back({path_entries[i], list_entry(name_entries, i)});
    return entries;
}

std::string logon_text(const std::string& text) { return cut_text(trim(text), kLogonTextLimit); }

namespace {

// Where the blank of entry i (0-based) of m stands in a note of length
// note_length: the blanks are the last m characters. A position before the
// start (a note cut so short that its blanks are gone and more) is given as
// Simple MAPI's "no position".
uint32_t attachment_position(size_t note_length, size_t m, size_t i) {
    const long long position = (long long)note_length - 1 - (long long)(m - 1 - i);
    return position < 0 ? kNoAttachmentPosition : uint32_t(position);
}

}  // namespace

MailMessage compose_mail(const std::string& subject, const std::string& note,
                         std::vector<MailRecipient> recipients,
                         const std::vector<AttachmentEntry>& attachments, const LocalTime& now,
                         const std::function<bool(const std::string&)>& file_exists) {
    MailMessage message;
    message.subject = cut_text(trim(subject), kSubjectLimit);
    const size_t m = attachments.size();
    message.note = cut_text(trim(note) + "\r\n" + std::string(m, ' '), kNoteLimit);
    message.date = mail_date_text(now);
    message.recipients = std::move(recipients);
    for (size_t i = 0; i < m; ++i) {
        MailAttachment a;
        a.path = cut_text(attachments[i].path, kAttachmentPathLimit);
        a.name = cut_text(attachments[i].name, kAttachmentNameLimit);
        if (!file_exists(a.path)) continue;
        a.position = attachment_position(message.note.size(), m, i);
        message.attachments.push_back(a);
    }
    return message;
}

}  // namespace vell
