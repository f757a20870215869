#include "send/copy_mark.h"

#include <cstring>

#include "document/bytes.h"
#include "document/document.h"

namespace vell {

void mark_header_as_copy(uint8_t (&header)[kHeaderSize]) {
    put_i16(header, kHeaderSize, hdr::kDeleteWhenClosed, 0);
    put_i32(header, kHeaderSize, hdr::kCopyFlag, 1);
}

CopyMark::CopyMark(Document& doc) : doc_(doc) {
    if (!doc_.file.is_open()) return;
    if (doc_.file.read_at(doc_.base, original_, kHeaderSize) != size_t(kHeaderSize)) return;
    uint8_t marked[kHeaderSize];
    std::memcpy(marked, original_, kHeaderSize);
    mark_header_as_copy(marked);
    // Even a write that fails part-way may have changed bytes: the original
    // goes back in any case.
    marked_ = true;
    applied_ = doc_.file.write_at(doc_.base, marked, kHeaderSize);
}

bool mark_file_as_copy(const std::string& path) {
    File file;
    if (!file.open_shared(path) || !file.writable()) return false;
    uint8_t header[kHeaderSize];
    if (file.read_at(0, header, kHeaderSize) != size_t(kHeaderSize)) return false;
    mark_header_as_copy(header);
    return file.write_at(0, header, kHeaderSize);
}

void CopyMark::restore() {
    if (!marked_) return;
    marked_ = false;
    applied_ = false;
    doc_.file.write_at(doc_.base, original_, kHeaderSize);
}

}  // namespace vell
