// What an output file does the same on every platform: moving, writing,
// closing early and putting a set of files in place all or none. Opening,
// placing and removing are the platform's (output_file_posix.cpp,
// output_file_win.cpp).
#include <cerrno>
#include <utility>

#include "output_file.h"

namespace vell {

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
    if (this != &other) {
        discard();
        path_ = std::move(other.path_);
        target_ = std::move(other.target_);
        temporary_ = std::exchange(other.temporary_, std::string());
        spooled_ = other.spooled_;
        placed_ = other.placed_;
        file_ = std::exchange(other.file_, nullptr);
        failed_ = other.failed_;
        saved_errno_ = other.saved_errno_;
    }
    return *this;
}

void OutputFile::write(const void* data, size_t count) {
    if (!file_ || failed_ || count == 0) return;
    if (std::fwrite(data, 1, count, file_) != count) {
        failed_ = true;
        saved_errno_ = errno;
    }
}

void OutputFile::close_early() {
    if (!file_ || spooled_) return;
    if (std::fclose(file_) != 0 && !failed_) {
        failed_ = true;
        saved_errno_ = errno;
    }
    file_ = nullptr;
}

bool OutputFile::commit_all(OutputFile* files, size_t count, std::string* error,
                            std::string* failed) {
    for (size_t i = 0; i < count; ++i) {
        if (files[i].place(error)) continue;
        if (failed) *failed = files[i].path_;
        for (size_t j = 0; j < i; ++j) files[j].withdraw();
        for (size_t j = i + 1; j < count; ++j) files[j].discard();
        return false;
    }
    // The set is complete: its files are the user's now.
    for (size_t i = 0; i < count; ++i) {
        if (files[i].placed_) forget_on_signals(files[i].target_);
        files[i].placed_ = false;
    }
    return true;
}

}  // namespace vell
