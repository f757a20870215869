// Files as the document reader, the container and the senders use them.
//
// One small class over the platform's file API: CreateFileA on Windows
// (file_io_win.cpp), POSIX descriptors on the host (file_io_posix.cpp), so
// the portable core and its tests run the same code paths on both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vell {

bool file_exists(const std::string& path);
bool delete_file(const std::string& path);

// The full path of a file named relative to the current directory (or
// already full), so that it still names the same file when the current
// directory moves. An empty path, or one the platform cannot expand, is
// returned as it is.
std::string absolute_path(const std::string& path);

class File {
public:
    File() = default;
    ~File() { close(); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;

    // Opens for reading and writing, sharing reading and writing with other
    // processes (a generator may still be writing the file); falls back to
    // reading only with the same sharing when that fails.
    bool open_shared(const std::string& path);
    // Opens for reading only, sharing reading and writing.
    bool open_read(const std::string& path);
    // Creates a new file for writing; fails when the file already exists, so
    // two processes can never claim the same name.
    bool create_new(const std::string& path);
    // Creates or truncates a file for writing.
    bool create_always(const std::string& path);

    bool is_open() const;
    bool writable() const { return writable_; }
    void close();

    // Current length of the file in bytes; -1 when not open.
    int64_t size() const;

    // Reads count bytes at offset into buffer. Bytes the file does not have
    // (past its end, or at a negative offset) are zeros in the buffer.
    // Returns how many bytes really came from the file.
    size_t read_at(int64_t offset, void* buffer, size_t count) const;

    // Writes count bytes at offset; true when all were written.
    bool write_at(int64_t offset, const void* buffer, size_t count);

private:
#ifdef _WIN32
    void* handle_ = nullptr;  // HANDLE; null when closed
#else
    int fd_ = -1;
#endif
    bool writable_ = false;
};

}  // namespace vell
