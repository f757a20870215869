// What an output file does the same on every platform: moving, writing,
// closing early, placing, removing and putting a set of files in place all
// or none. Opening, copying out a spool, renaming and deleting are the
// platform's (output_file_posix.cpp, output_file_win.cpp).
#include <cerrno>
#include <cstring>
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

// Puts the finished file in its place; a placed file stays on the pending
// list until its whole set is placed.
bool OutputFile::place(std::string* error) {
    bool ok = !failed_ && (file_ || !temporary_.empty());
    int reason = failed_ ? saved_errno_ : 0;
    if (ok && file_ && std::fflush(file_) != 0) {
        ok = false;
        reason = errno;
    }
    if (ok && spooled_ && !copy_spool_out(file_, path_, target_)) {
        ok = false;
        reason = errno;
    }
    if (file_ && std::fclose(file_) != 0 && ok) {
        ok = false;
        reason = errno;
    }
    file_ = nullptr;
    if (ok && !temporary_.empty()) {
        if (move_into_place(temporary_, target_)) {
            temporary_.clear();
            placed_ = true;
        } else {
            ok = false;
            reason = errno;
        }
    }
    if (!ok) {
        *error = std::strerror(reason ? reason : EIO);
        discard();
    }
    return ok;
}

// Takes a placed file of an incomplete set away again.
void OutputFile::withdraw() {
    if (!placed_) return;
    remove_pending_file(target_);
    placed_ = false;
}

void OutputFile::discard() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (!temporary_.empty()) remove_pending_file(temporary_);
    temporary_.clear();
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
