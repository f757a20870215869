// Documents built to exhaust a renderer: sizes and counts that cost memory
// or time out of all proportion to the bytes that carry them, and values
// at the edges of the number formats. The hostile-document benchmark
// converts each with vellconvert; the Wine rig draws each with vellrender.
#pragma once

#include <string>
#include <vector>

#include "document/bytes.h"

namespace vell {

struct HostileDocument {
    std::string name;  // short, usable as a file name
    Bytes bytes;       // the whole document
};

// The set, smallest first within each kind. The large ones (tens of
// thousands of records) are left out when small is set.
std::vector<HostileDocument> hostile_documents(bool small = false);

// A bitmap file header claiming width x height pixels at 24 bits, with
// only the first 26 bytes of pixel data: what a picture record can claim
// for almost nothing.
Bytes claimed_bitmap(int width, int height);

}  // namespace vell
