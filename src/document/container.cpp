// The self-extracting viewer container: recognising one at start-up and
// building one from the running program and a plain document.
#include "document/container.h"

#include <cstring>

#include "document/bytes.h"
#include "document/file_io.h"
#include "document/format.h"
#include "document/text.h"

namespace vell {

int32_t self_extract_base(const std::string& exe_path) {
    // Opened the way documents are, so a program that is running can still
    // read itself; any failure means "carries no document".
    File file;
    if (!file.open_shared(exe_path)) return 0;
    const int64_t length = file.size();
    if (length < kTrailerSize) return 0;

    uint8_t trailer[kTrailerSize];
    file.read_at(length - kTrailerSize, trailer, sizeof trailer);
    std::string marker(reinterpret_cast<const char*>(trailer + 4), kMarkerSize);
    if (to_upper(trim(marker)) != kSelfExtractMarker) return 0;

    // The stub length is the document's base; one that cannot be a place in
    // this file means the trailer is not ours.
    const int32_t base = get_i32(trailer, sizeof trailer, 0);
    if (base < 1 || base > length) return 0;
    return base;
}

namespace {

// Reads a whole range in one piece (zeros for what the file lacks).
Bytes read_range(const File& file, int64_t offset, int64_t count) {
    Bytes bytes(size_t(count > 0 ? count : 0));
    if (!bytes.empty()) file.read_at(offset, bytes.data(), bytes.size());
    return bytes;
}

}  // namespace

int16_t build_self_extracting(const std::string& input, const std::string& stub,
                              const std::string& output) {
    // The existence checks take the paths trimmed; the opens take them as
    // given (Windows drops trailing blanks itself).
    if (!file_exists(trim(input))) return kBuildNoInput;
    if (file_exists(trim(output))) return kBuildOutputExists;

    File in;
    if (!in.open_read(input)) return kBuildNoInputOpen;
    File out;
    if (!out.create_new(output)) return kBuildNoOutput;  // in closes itself
    File program;
    if (!program.open_read(stub)) {
        // The output was created by this call and holds nothing yet; leaving
        // it behind would make the next attempt fail with "already exists".
        out.close();
        delete_file(output);
        return kBuildNoStub;
    }

    // From here on read and write errors are not reported: the statuses
    // cover only what can be checked before anything is written.
    int64_t at = 0;
    const int64_t n = program.size() > 0 ? program.size() : 0;
    Bytes copy = read_range(program, 0, n);
    out.write_at(at, copy.data(), copy.size());
    at += int64_t(copy.size());

    // The document's header with the two fields that mark the embedded copy.
    // (The stub length is an i32 in the format; viewer programs are a few
    // megabytes, far below its limit.)
    uint8_t header[kHeaderSize];
    in.read_at(0, header, sizeof header);
    put_i16(header, sizeof header, hdr::kEmbedded, 1);
    put_i32(header, sizeof header, hdr::kStubLength, int32_t(n));
    out.write_at(at, header, sizeof header);
    at += kHeaderSize;

    const int64_t input_length = in.size();
    copy = read_range(in, kHeaderSize, input_length - kHeaderSize);
    out.write_at(at, copy.data(), copy.size());
    at += int64_t(copy.size());

    uint8_t trailer[kTrailerSize];
    put_i32(trailer, sizeof trailer, 0, int32_t(n));
    std::memcpy(trailer + 4, kSelfExtractMarker, kMarkerSize);
    out.write_at(at, trailer, sizeof trailer);
    return kBuildOk;
}

}  // namespace vell
