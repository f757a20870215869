// Describes a document file in the JSON form that vellmake reads, for
// velldump and the tests.
//
// The file may be a plain document or a self-extracting viewer. Everything
// is read through the document reader, which yields zeros past the end of
// the file; the dump checks every position and length against the
// document's real extent first and lists in "problems" what looked wrong and
// where it stopped reading, so a damaged file is described as far as it can
// be, never read out of bounds.
//
// Round trip: for a file whose dump lists no problems and no notes, giving
// the dump back to compile_document yields the document's bytes exactly
// (the bytes from the document's first byte; a self-extracting viewer's stub
// and trailer are not part of them). The dump checks this itself and adds a
// note when it does not hold.
#pragma once

#include <cstddef>
#include <string>

#include "json_text.h"

namespace vell {

struct DumpResult {
    bool opened = false;  // false: the file could not be opened at all
    json::Value description;
    size_t problems = 0;  // the number of entries in description.problems
};

DumpResult dump_document(const std::string& path);

}  // namespace vell
