// Marking the open document file as a copy while the save and e-mail
// commands copy it: copy flag 1 and delete-when-closed flag 0 in the header
// on disk, so that whatever is copied from the file offers neither save,
// e-mail nor fax and is never deleted by a viewer that opens it. The file's
// own header comes back afterwards byte for byte.
#pragma once

#include <cstdint>
#include <string>

#include "document/format.h"

namespace vell {

struct Document;

// The header as it stood on disk, changed to mark a copy: the copy flag
// (i32) set to 1 and the delete-when-closed flag (i16) cleared; every other
// byte kept.
void mark_header_as_copy(uint8_t (&header)[kHeaderSize]);

// Marks the header of a plain document file (a copy just made) as a copy.
// False when the file cannot be opened for writing or its header read whole.
bool mark_file_as_copy(const std::string& path);

// Marks the document file's header while it lives and puts the original
// back when restore() is called or, at the latest, when it goes out of
// scope, so no way out of a command leaves the file marked.
//
// The header is taken from the file itself, not from memory: the in-memory
// header carries the allowed flags as start-up set them, and writing those
// would change the file. When the file's header cannot be read whole (a
// file cut short behind the viewer's back) nothing is written at all. A
// write that fails (a read-only file, opened for reading only) leaves
// applied() false: the command then marks the copy it made instead.
class CopyMark {
public:
    explicit CopyMark(Document& doc);
    ~CopyMark() { restore(); }
    CopyMark(const CopyMark&) = delete;
    CopyMark& operator=(const CopyMark&) = delete;

    // Writes the original header back; later calls do nothing.
    void restore();

    // The file's header really carries the mark.
    bool applied() const { return applied_; }

private:
    Document& doc_;
    uint8_t original_[kHeaderSize] = {};
    bool marked_ = false;
    bool applied_ = false;
};

}  // namespace vell
