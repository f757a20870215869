// Composing mail and fax messages from arbitrary settings texts: every
// attachment position points inside the note, at a blank, the date keeps
// its length, and fax lists survive a round trip through the dialog's list.
#include <string>
#include <vector>

#include "send/fax_recipients.h"
#include "send/mail_message.h"

using namespace vell;

// Splits the input at zero bytes into up to five texts.
static std::vector<std::string> texts_of(const uint8_t* data, size_t size) {
    std::vector<std::string> texts(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && texts.size() < 5)
            texts.emplace_back();
        else
            texts.back().push_back(char(data[i]));
    }
    texts.resize(5);
    return texts;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> t = texts_of(data, size);
    LocalTime now;
    now.year = 2026; now.month = 12; now.day = 8; now.hour = 17; now.minute = 5; now.second = 9;
    MailMessage message = compose_mail(
        t[0], t[1], mail_recipients(t[2], t[3]), attachment_entries(t[4], t[0]), now,
        [](const std::string& path) { return !path.empty() && path[0] != 'x'; });
    for (const MailAttachment& a : message.attachments) {
        if (a.position == kNoAttachmentPosition) continue;
        if (a.position >= message.note.size()) __builtin_trap();
        if (message.note[a.position] != ' ') __builtin_trap();
    }
    if (mail_date_text(now).size() != 19) __builtin_trap();
    logon_text(t[1]);

    std::string normalised = normalise_fax_recipients(t[2]);
    fax_recipients_from_list(fax_dialog_entries(normalised));
    return 0;
}
