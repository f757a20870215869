#include "send/fax_recipients.h"

#include "document/text.h"
#include "send/mail_message.h"

namespace vell {

namespace {
constexpr size_t kFaxPrefixLength = sizeof kFaxPrefix - 1;

bool starts_with(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}
}  // namespace

std::string normalise_fax_recipients(const std::string& recipients) {
    std::string joined;
    const std::vector<std::string> entries = split_list(recipients);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) joined += ';';
        if (to_upper(entries[i].substr(0, kFaxPrefixLength)) != kFaxPrefix) joined += kFaxPrefix;
        joined += entries[i];
    }
    return joined;
}

std::vector<std::string> fax_dialog_entries(const std::string& recipients) {
    std::vector<std::string> shown;
    if (trim(recipients).empty()) return shown;
    for (const std::string& entry : split_list(recipients)) {
        std::string text = cut_text(entry, kFaxDialogEntryLimit);
        // Only the prefix in upper case is the system's own; "fax:" typed by
        // someone else stays part of what is shown.
        if (starts_with(text, kFaxPrefix)) text.erase(0, kFaxPrefixLength);
        if (!trim(text).empty()) shown.push_back(text);
    }
    return shown;
}

std::string fax_list_entry(const std::string& name, const std::string& number) {
    const std::string n = trim(name), f = trim(number);
    if (n.empty() || f.empty()) return std::string();
    return cut_text(n + "@" + f, kFaxListEntryLimit);
}

std::string fax_recipients_from_list(const std::vector<std::string>& entries) {
    std::string text;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) text += ';';
        text += kFaxPrefix + entries[i];
    }
    return text;
}

}  // namespace vell
