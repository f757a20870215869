// An output file that appears whole or not at all: written under a
// temporary name beside its final one and renamed when complete; standard
// output ("-") is written from a temporary file once everything is there.
#pragma once

#include <cstdio>
#include <string>

namespace vell {

class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile() { discard(); }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    OutputFile(OutputFile&& other) noexcept { *this = std::move(other); }
    OutputFile& operator=(OutputFile&& other) noexcept;

    // Opens the temporary file for path; false with errno's text in *error.
    bool open(const std::string& path, std::string* error);
    FILE* file() const { return file_; }
    const std::string& path() const { return path_; }
    // Writes count bytes; remembers a failure for commit.
    void write(const void* data, size_t count);
    // Closes a finished file that is named later (not standard output),
    // so that many page files do not hold many open files.
    void close_early();
    // Finishes the file and gives it its name (or copies it to standard
    // output); false with the reason when anything failed on the way.
    bool commit(std::string* error);
    // Removes the temporary file; nothing of this output remains.
    void discard();

private:
    std::string path_;
    std::string temporary_;
    FILE* file_ = nullptr;
    bool failed_ = false;
    int saved_errno_ = 0;
};

}  // namespace vell
