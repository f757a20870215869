#include "startup/startup.h"

#include "document/document.h"
#include "document/format.h"

namespace vell {

std::string locate_failed_message(const std::string& path) {
    return "Unable to locate file: " + path;
}

std::string open_failed_message(const std::string& path) {
    return "Unable to open file: " + path;
}

std::string invalid_file_message(const std::string& path) {
    return "Invalid File: " + path + "\r" + "This file isn't a vell document.";
}

std::string too_many_pages_message(const std::string& path) {
    return "Invalid File: " + path + "\r" +
           "This document has more pages than vell can show (" + std::to_string(kMaxPages) + ").";
}

std::string dialog_filter(const std::string& text) {
    std::string filter = text;
    for (char& c : filter)
        if (c == '|') c = '\0';
    filter.push_back('\0');
    filter.push_back('\0');
    return filter;
}

void restrict_copied_document(Document& doc) {
    if (doc.base == 0 && header_i32(doc, hdr::kCopyFlag) == 0) return;
    doc.copy_restricted = true;
    apply_copy_restriction(doc);
}

bool delete_when_closed(const Document& doc) {
    return doc.validated && doc.base == 0 && header_i16(doc, hdr::kDeleteWhenClosed) != 0;
}

}  // namespace vell
