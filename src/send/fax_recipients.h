// Fax recipients: one text of entries separated by ";", each "FAX:" + name
// + "@" + fax number, and the entries of the fax dialog's list, shown as
// name@number.
#pragma once

#include <string>
#include <vector>

namespace vell {

constexpr char kFaxPrefix[] = "FAX:";
constexpr size_t kFaxDialogEntryLimit = 199;  // a recipients entry shown in the list
constexpr size_t kFaxFieldLimit = 198;        // what is read from the name and number edits
constexpr size_t kFaxListEntryLimit = 399;    // an entry added to the list

// Puts "FAX:" in front of every entry that does not start with it (letter
// case ignored) and joins the entries again; an empty text becomes "FAX:".
std::string normalise_fax_recipients(const std::string& recipients);

// The list entries the fax dialog opens with: none for a blank text; else
// each entry cut to 199 characters loses a leading "FAX:" written exactly
// so (upper case), and what remains is kept, untrimmed, unless it is blank.
std::vector<std::string> fax_dialog_entries(const std::string& recipients);

// The entry that Add puts in the list: trimmed name + "@" + trimmed number,
// cut to 399 characters; empty when either is blank.
std::string fax_list_entry(const std::string& name, const std::string& number);

// The recipients text that Send Fax writes from the list, in list order:
// "FAX:" + first entry, then ";FAX:" + each further entry.
std::string fax_recipients_from_list(const std::vector<std::string>& entries);

}  // namespace vell
