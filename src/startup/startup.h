// The parts of start-up that need no window: the messages it shows, the
// filter text of the open-file dialog, and the decisions taken on the open
// document before it is used and after it is closed.
#pragma once

#include <cstdint>
#include <string>

namespace vell {

struct Document;

// The messages of start-up's failures, for the document path given.
std::string locate_failed_message(const std::string& path);
std::string open_failed_message(const std::string& path);
std::string invalid_file_message(const std::string& path);
// A complete document whose header announces more pages than the 16-bit
// page numbers reach is refused instead of shown in part.
std::string too_many_pages_message(const std::string& path);

// The open-file dialog's filter: every vertical bar becomes a zero byte and
// two zero bytes end the list.
std::string dialog_filter(const std::string& text);

// A document inside a self-extracting viewer, or one that is itself a copy
// made by the save or e-mail commands, offers neither save, fax nor e-mail:
// clears the three allowed fields of its header for those, now and after
// every later header read (a building document's).
void restrict_copied_document(Document& doc);

// Whether the document file is deleted after it has been closed: it passed
// validation, its header asks for it, and it is a plain file (base 0), never
// a self-extracting viewer.
bool delete_when_closed(const Document& doc);

}  // namespace vell
