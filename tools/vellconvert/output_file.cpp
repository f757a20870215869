#include "output_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace vell {

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
    if (this != &other) {
        discard();
        path_ = std::move(other.path_);
        temporary_ = std::move(other.temporary_);
        file_ = std::exchange(other.file_, nullptr);
        failed_ = other.failed_;
        saved_errno_ = other.saved_errno_;
    }
    return *this;
}

bool OutputFile::open(const std::string& path, std::string* error) {
    discard();
    path_ = path;
    failed_ = false;
    if (path == "-") {
        file_ = std::tmpfile();
        if (!file_) *error = std::strerror(errno);
        return file_ != nullptr;
    }
    // Beside the final name, so the rename stays on one file system.
    std::vector<char> name(path.begin(), path.end());
    const char tail[] = ".partXXXXXX";
    name.insert(name.end(), tail, tail + sizeof tail);
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        *error = std::strerror(errno);
        return false;
    }
    temporary_ = name.data();
    // mkstemp makes the file private; the output gets the usual permissions.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    file_ = fdopen(fd, "wb");
    if (!file_) {
        *error = std::strerror(errno);
        ::close(fd);
        unlink(temporary_.c_str());
        temporary_.clear();
        return false;
    }
    return true;
}

void OutputFile::write(const void* data, size_t count) {
    if (!file_ || failed_ || count == 0) return;
    if (std::fwrite(data, 1, count, file_) != count) {
        failed_ = true;
        saved_errno_ = errno;
    }
}

namespace {

bool copy_to_stdout(FILE* from) {
    if (std::fseek(from, 0, SEEK_SET) != 0) return false;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, from)) > 0)
        if (std::fwrite(buffer, 1, n, stdout) != n) return false;
    return !std::ferror(from) && std::fflush(stdout) == 0;
}

}  // namespace

void OutputFile::close_early() {
    if (!file_ || path_ == "-") return;
    if (std::fclose(file_) != 0 && !failed_) {
        failed_ = true;
        saved_errno_ = errno;
    }
    file_ = nullptr;
}

bool OutputFile::commit(std::string* error) {
    if (!file_ && temporary_.empty()) {
        *error = "not open";
        return false;
    }
    bool ok = !failed_;
    if (file_) {
        ok = ok && std::fflush(file_) == 0;
        if (!ok && !failed_) saved_errno_ = errno;
        if (ok && path_ == "-") {
            ok = copy_to_stdout(file_);
            if (!ok) saved_errno_ = errno;
        }
        if (std::fclose(file_) != 0 && ok) {
            ok = false;
            saved_errno_ = errno;
        }
        file_ = nullptr;
    }
    if (ok && !temporary_.empty() && std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        ok = false;
        saved_errno_ = errno;
    }
    if (!ok) {
        *error = std::strerror(saved_errno_ ? saved_errno_ : EIO);
        if (!temporary_.empty()) unlink(temporary_.c_str());
    }
    temporary_.clear();
    return ok;
}

void OutputFile::discard() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (!temporary_.empty()) unlink(temporary_.c_str());
    temporary_.clear();
}

}  // namespace vell
