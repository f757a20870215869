// The self-extracting viewer container: the viewer program (the stub), the
// document with two header fields changed, the stub length as i32 and the
// 17-character marker "VELL_SELF_EXTRACT".
#pragma once

#include <cstdint>
#include <string>

namespace vell {

// The base of the document that the program file at exe_path carries, or 0
// when it carries none (no trailer, marker wrong, stub length out of range,
// file unreadable). The marker is compared upper-cased and trimmed.
int32_t self_extract_base(const std::string& exe_path);

// Statuses of build_self_extracting.
enum : int16_t {
    kBuildOk = 0,
    kBuildNoStub = -1,         // the stub file cannot be opened
    kBuildNoOutput = -2,       // the output file cannot be opened
    kBuildNoInputOpen = -3,    // the input file cannot be opened
    kBuildOutputExists = -4,   // the output file already exists
    kBuildNoInput = -5,        // the input file does not exist
};

// Writes stub + input document (embedded flag 1, stub length n) + trailer to
// output, which must not exist yet and is created unshared. The statuses are
// checked in the order -5, -4, -3, -2, -1; the existence checks use the
// paths trimmed of blanks. On -1 the output just created is removed again.
// Read and write errors after the files are open are not reported.
int16_t build_self_extracting(const std::string& input, const std::string& stub,
                              const std::string& output);

}  // namespace vell
