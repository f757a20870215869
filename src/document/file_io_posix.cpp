// Host implementation of File: POSIX descriptors. Sharing modes need no
// counterpart here, since POSIX never locks files against other openers.
#include "document/file_io.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vell {

bool file_exists(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool delete_file(const std::string& path) { return ::unlink(path.c_str()) == 0; }

std::string absolute_path(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    char directory[4096];
    if (!::getcwd(directory, sizeof directory)) return path;
    return std::string(directory) + "/" + path;
}

File::File(File&& other) noexcept : fd_(other.fd_), writable_(other.writable_) {
    other.fd_ = -1;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        writable_ = other.writable_;
        other.fd_ = -1;
    }
    return *this;
}

static int open_regular(const std::string& path, int flags, mode_t mode = 0) {
    int fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    if (fd < 0) return -1;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool File::open_shared(const std::string& path) {
    close();
    fd_ = open_regular(path, O_RDWR);
    writable_ = fd_ >= 0;
    if (fd_ < 0) fd_ = open_regular(path, O_RDONLY);
    return fd_ >= 0;
}

bool File::open_read(const std::string& path) {
    close();
    fd_ = open_regular(path, O_RDONLY);
    writable_ = false;
    return fd_ >= 0;
}

bool File::create_new(const std::string& path) {
    close();
    fd_ = open_regular(path, O_RDWR | O_CREAT | O_EXCL, 0644);
    writable_ = fd_ >= 0;
    return fd_ >= 0;
}

bool File::create_always(const std::string& path) {
    close();
    fd_ = open_regular(path, O_RDWR | O_CREAT | O_TRUNC, 0644);
    writable_ = fd_ >= 0;
    return fd_ >= 0;
}

bool File::is_open() const { return fd_ >= 0; }

void File::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    writable_ = false;
}

int64_t File::size() const {
    struct stat st;
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return -1;
    return st.st_size;
}

size_t File::read_at(int64_t offset, void* buffer, size_t count) const {
    std::memset(buffer, 0, count);
    if (fd_ < 0 || count == 0) return 0;
    size_t skip = 0;
    if (offset < 0) {
        if (uint64_t(-offset) >= count) return 0;
        skip = size_t(-offset);
        offset = 0;
    }
    size_t done = 0;
    char* out = static_cast<char*>(buffer) + skip;
    while (skip + done < count) {
        ssize_t n = ::pread(fd_, out + done, count - skip - done, offset + int64_t(done));
        if (n <= 0) break;
        done += size_t(n);
    }
    return done;
}

bool File::write_at(int64_t offset, const void* buffer, size_t count) {
    if (fd_ < 0 || !writable_ || offset < 0) return false;
    size_t done = 0;
    const char* in = static_cast<const char*>(buffer);
    while (done < count) {
        ssize_t n = ::pwrite(fd_, in + done, count - done, offset + int64_t(done));
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

}  // namespace vell
