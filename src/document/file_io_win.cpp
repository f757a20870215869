// Windows implementation of File: CreateFileA with the share modes the
// viewer needs so that a generator can keep writing a document it shows.
#include "document/file_io.h"

#include <windows.h>

#include <cstring>

namespace vell {

bool file_exists(const std::string& path) {
    if (path.empty()) return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool delete_file(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

std::string absolute_path(const std::string& path) {
    if (path.empty()) return path;
    char buffer[MAX_PATH + 1];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    if (length == 0 || length >= sizeof buffer) return path;
    return std::string(buffer, length);
}

File::File(File&& other) noexcept : handle_(other.handle_), writable_(other.writable_) {
    other.handle_ = nullptr;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = other.handle_;
        writable_ = other.writable_;
        other.handle_ = nullptr;
    }
    return *this;
}

static void* open_handle(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
    HANDLE h = CreateFileA(path.c_str(), access, share, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

static const DWORD kShareBoth = FILE_SHARE_READ | FILE_SHARE_WRITE;

bool File::open_shared(const std::string& path) {
    close();
    handle_ = open_handle(path, GENERIC_READ | GENERIC_WRITE, kShareBoth, OPEN_EXISTING);
    writable_ = handle_ != nullptr;
    if (!handle_) handle_ = open_handle(path, GENERIC_READ, kShareBoth, OPEN_EXISTING);
    return handle_ != nullptr;
}

bool File::open_read(const std::string& path) {
    close();
    handle_ = open_handle(path, GENERIC_READ, kShareBoth, OPEN_EXISTING);
    writable_ = false;
    return handle_ != nullptr;
}

bool File::create_new(const std::string& path) {
    close();
    handle_ = open_handle(path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
    writable_ = handle_ != nullptr;
    return handle_ != nullptr;
}

bool File::create_always(const std::string& path) {
    close();
    handle_ = open_handle(path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS);
    writable_ = handle_ != nullptr;
    return handle_ != nullptr;
}

bool File::is_open() const { return handle_ != nullptr; }

void File::close() {
    if (handle_) CloseHandle(handle_);
    handle_ = nullptr;
    writable_ = false;
}

int64_t File::size() const {
    LARGE_INTEGER size;
    if (!handle_ || !GetFileSizeEx(handle_, &size)) return -1;
    return size.QuadPart;
}

size_t File::read_at(int64_t offset, void* buffer, size_t count) const {
    std::memset(buffer, 0, count);
    if (!handle_ || count == 0) return 0;
    size_t skip = 0;
    if (offset < 0) {
        if (uint64_t(-offset) >= count) return 0;
        skip = size_t(-offset);
        offset = 0;
    }
    char* out = static_cast<char*>(buffer) + skip;
    size_t done = 0;
    while (skip + done < count) {
        OVERLAPPED at = {};
        int64_t where = offset + int64_t(done);
        at.Offset = DWORD(uint64_t(where) & 0xFFFFFFFFu);
        at.OffsetHigh = DWORD(uint64_t(where) >> 32);
        size_t want = count - skip - done;
        DWORD chunk = want > 0x40000000u ? 0x40000000u : DWORD(want);
        DWORD got = 0;
        if (!ReadFile(handle_, out + done, chunk, &got, &at) || got == 0) break;
        done += got;
    }
    return done;
}

bool File::write_at(int64_t offset, const void* buffer, size_t count) {
    if (!handle_ || !writable_ || offset < 0) return false;
    const char* in = static_cast<const char*>(buffer);
    size_t done = 0;
    while (done < count) {
        OVERLAPPED at = {};
        int64_t where = offset + int64_t(done);
        at.Offset = DWORD(uint64_t(where) & 0xFFFFFFFFu);
        at.OffsetHigh = DWORD(uint64_t(where) >> 32);
        size_t want = count - done;
        DWORD chunk = want > 0x40000000u ? 0x40000000u : DWORD(want);
        DWORD put = 0;
        if (!WriteFile(handle_, in + done, chunk, &put, &at) || put == 0) return false;
        done += put;
    }
    return true;
}

}  // namespace vell
