// Output files that appear whole or not at all, and never harm what they
// name. A new or regular file is written under a short temporary name
// beside its final one and renamed when complete; a symbolic link keeps
// being a link, and its target is written that way. Standard output ("-"),
// FIFOs and devices stay what they are: the output is spooled to an
// anonymous file and copied to them once everything is there.
// The file handling is the platform's own (output_file_posix.cpp,
// output_file_win.cpp, where console events stand in for the signals).
#pragma once

#include <cstdio>
#include <string>

namespace vell {

// Whether two names reach one file by any road: the same path, another
// path, a hard or a symbolic link. "-" is standard output. False when
// either does not exist.
bool same_file(const std::string& a, const std::string& b);

// From now on SIGINT, SIGTERM, SIGHUP and SIGPIPE remove the temporary
// files of unfinished outputs (and the files of a set being placed) before
// they end the process.
void remove_outputs_on_signals();

// A file made elsewhere (a picture's temporary file) that those signals
// remove as well, until it is forgotten again.
void remove_on_signals(const std::string& path);
void forget_on_signals(const std::string& path);

// The platform's steps of placing a file; false with errno set on failure.
// Copies a finished spool out to standard output ("-"), a FIFO or a device.
bool copy_spool_out(FILE* spool, const std::string& path, const std::string& target);
// Renames the temporary file over the target; the target then stays on the
// signals' list until its set is complete, the temporary leaves it.
bool move_into_place(const std::string& temporary, const std::string& target);
// Deletes a file of ours and takes it off the signals' list.
void remove_pending_file(const std::string& path);

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
    // Closes a finished file that is named later (not a spooled one), so
    // that many page files do not hold many open files.
    void close_early();
    // Finishes the file and puts it in place; false with the reason when
    // anything failed on the way, and nothing of it remains.
    bool commit(std::string* error) { return commit_all(this, 1, error, nullptr); }
    // Puts every file of a set in place, or none: a failure removes the
    // files of the set already placed. *failed: the path that failed.
    static bool commit_all(OutputFile* files, size_t count, std::string* error,
                           std::string* failed);
    // Removes the temporary file; nothing of this output remains.
    void discard();

private:
    bool place(std::string* error);
    void withdraw();

    std::string path_;       // as the user named it
    std::string target_;     // what is written: the end of a link chain
    std::string temporary_;  // empty for spooled outputs
    bool spooled_ = false;   // standard output, a FIFO or a device
    bool placed_ = false;
    FILE* file_ = nullptr;
    bool failed_ = false;
    int saved_errno_ = 0;
};

}  // namespace vell
