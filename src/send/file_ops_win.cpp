#include "send/file_ops.h"

#include <windows.h>

namespace vell {

bool copy_file(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool replace_file(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

namespace {

// The identity of an existing file: its volume and its index on it. The
// file is opened for no access at all, sharing everything, so a file that
// another program (or this one) holds open is identified too.
bool file_identity(const std::string& path, BY_HANDLE_FILE_INFORMATION* info) {
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool known = GetFileInformationByHandle(file, info) != 0;
    CloseHandle(file);
    return known;
}

std::string full_path(const std::string& path) {
    char buffer[MAX_PATH * 2] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    return length == 0 || length >= sizeof buffer ? std::string() : std::string(buffer, length);
}

}  // namespace

bool same_file(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION ia, ib;
    if (!file_identity(a, &ia) || !file_identity(b, &ib)) return false;
    const bool indexed = ia.nFileIndexHigh != 0 || ia.nFileIndexLow != 0;
    if (indexed)
        return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
               ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
    // File systems that give no file index: the full names, letter case
    // ignored as Windows ignores it.
    const std::string fa = full_path(a), fb = full_path(b);
    return !fa.empty() && lstrcmpiA(fa.c_str(), fb.c_str()) == 0;
}

}  // namespace vell
