// The report vellgen writes: a few pages of a made-up statement, composed
// with the document writer. Portable.
//
// A generator that writes a document while the viewer shows it writes the
// same bytes a finished document has, in order: the header first, then page
// after page, and the page index, the document index and the settings only
// at the end. After each page the header says how far the document has got:
// its page count is the pages written so far and its page index position is
// the end of the newest page.
#pragma once

#include <cstdint>
#include <string>

#include "vel_writer.h"

namespace vellgen {

struct ReportOptions {
    int pages = 12;
    std::string title = "vellgen demo report";
    bool with_index = false;      // a document index entry every third page
    bool outputs_allowed = true;  // save, e-mail and fax offered
    int32_t builder_window = 0;   // the generator's window, for the viewer's replies
};

// Page number of the report (1-based). Its footer's page total shows the
// count the viewer knows when it draws the page.
vell::Bytes report_page(int number);

// The document with its first `written` pages. Until the document is
// complete it has no document index: the viewer does not read one while
// building.
vell::DocumentPlan report_document(const ReportOptions& options, int written, bool complete);

}  // namespace vellgen
