// vellconvert's work: open the document (plain or self-extracting), check
// its password, pick the pages, and write them as PDF, PNG, SVG or text.
#pragma once

#include "options.h"

namespace vell {

// Exit statuses.
enum ConvertStatus {
    kConvertOk = 0,
    kConvertUsage = 1,     // wrong arguments, pages not in the document, OUT is IN
    kConvertInput = 2,     // unreadable, not a document, damaged page
    kConvertPassword = 3,  // no password or the wrong one
    kConvertOutput = 4,    // the output cannot be written
    kConvertDamaged = 5,   // written with --keep-going; damaged pages drawn as far as they go
};

int run_convert(const ConvertOptions& options);

// Messages go to standard error as "vellconvert: ..." lines.
void report(const std::string& text);

}  // namespace vell
