// Shared helpers of the fuzz targets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace vell_fuzz {

// A file holding the fuzz input, one per process, rewritten for every input:
// the document reader and the container check work on files.
inline const std::string& input_path() {
    static const std::string path = "/tmp/vell-fuzz-" + std::to_string(getpid()) + ".bin";
    return path;
}

inline bool write_input(const uint8_t* data, size_t size) {
    FILE* f = std::fopen(input_path().c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

}  // namespace vell_fuzz
