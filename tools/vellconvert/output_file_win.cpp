// Windows file handling of vellconvert.exe: the finished file is renamed
// onto its name with MoveFileExA; standard output is spooled; Ctrl+C and
// closing the console (the console events standing in for the signals)
// remove the temporary files of unfinished outputs.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "output_file.h"

namespace vell {

namespace {

// ---- Files a console event removes ---------------------------------------------

CRITICAL_SECTION& pending_lock() {
    static CRITICAL_SECTION lock;
    static const bool made = (InitializeCriticalSection(&lock), true);
    (void)made;
    return lock;
}

// The paths a console event removes: temporary files, and the placed files
// of a set that is not complete yet. The handler runs on a thread of its
// own, so the list changes only under the lock.
std::vector<std::string>& pending_paths() {
    static std::vector<std::string> paths;
    return paths;
}

class PendingHeld {
public:
    PendingHeld() { EnterCriticalSection(&pending_lock()); }
    ~PendingHeld() { LeaveCriticalSection(&pending_lock()); }
    PendingHeld(const PendingHeld&) = delete;
    PendingHeld& operator=(const PendingHeld&) = delete;
};

void add_pending(const std::string& path) {
    PendingHeld held;
    pending_paths().push_back(path);
}

void drop_pending(const std::string& path) {
    PendingHeld held;
    std::vector<std::string>& paths = pending_paths();
    const auto at = std::find(paths.begin(), paths.end(), path);
    if (at != paths.end()) paths.erase(at);
}

BOOL WINAPI remove_pending(DWORD) {
    PendingHeld held;
    for (const std::string& path : pending_paths()) DeleteFileA(path.c_str());
    // Not handled: the default handler ends the process.
    return FALSE;
}

// ---- Names ---------------------------------------------------------------------

std::string folder_of(const std::string& path) {
    const size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A new temporary file beside target, open for writing.
FILE* create_temporary(const std::string& target, std::string* temporary) {
    static std::mt19937 random{std::random_device{}()};
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const std::string folder = folder_of(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = folder + "~vc";
        for (int i = 0; i < 6; ++i) name += letters[random() % (sizeof letters - 1)];
        name += ".tmp";
        HANDLE handle = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS) continue;
            errno = EACCES;
            return nullptr;
        }
        const int fd = _open_osfhandle(intptr_t(handle), _O_WRONLY | _O_BINARY);
        FILE* file = fd >= 0 ? _fdopen(fd, "wb") : nullptr;
        if (!file) {
            if (fd >= 0)
                _close(fd);
            else
                CloseHandle(handle);
            DeleteFileA(name.c_str());
            return nullptr;
        }
        add_pending(name);
        *temporary = name;
        return file;
    }
    errno = EEXIST;
    return nullptr;
}

bool identity(const std::string& path, BY_HANDLE_FILE_INFORMATION* info) {
    if (path == "-") return GetFileInformationByHandle(GetStdHandle(STD_OUTPUT_HANDLE), info) != 0;
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool known = GetFileInformationByHandle(file, info) != 0;
    CloseHandle(file);
    return known;
}

// Copies a spooled output to standard output from its start.
bool copy_spool(FILE* from) {
    if (std::fflush(from) != 0 || std::fseek(from, 0, SEEK_SET) != 0) return false;
    _setmode(_fileno(stdout), _O_BINARY);
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, from)) > 0)
        if (std::fwrite(buffer, 1, n, stdout) != n) return false;
    return !std::ferror(from) && std::fflush(stdout) == 0;
}

}  // namespace

bool same_file(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION ia, ib;
    return identity(a, &ia) && identity(b, &ib) && ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
           ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

void remove_outputs_on_signals() { SetConsoleCtrlHandler(remove_pending, TRUE); }

void remove_on_signals(const std::string& path) { add_pending(path); }

void forget_on_signals(const std::string& path) { drop_pending(path); }


bool OutputFile::open(const std::string& path, std::string* error) {
    discard();
    path_ = target_ = path;
    failed_ = false;
    placed_ = false;
    spooled_ = path == "-";
    const DWORD attributes = spooled_ ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        *error = std::strerror(EISDIR);
        return false;
    }
    file_ = spooled_ ? std::tmpfile() : create_temporary(path, &temporary_);
    if (!file_) *error = std::strerror(errno ? errno : EACCES);
    return file_ != nullptr;
}



bool copy_spool_out(FILE* spool, const std::string&, const std::string&) {
    return copy_spool(spool);
}

bool move_into_place(const std::string& temporary, const std::string& target) {
    if (!MoveFileExA(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        errno = EACCES;
        return false;
    }
    drop_pending(temporary);
    add_pending(target);
    return true;
}

void remove_pending_file(const std::string& path) {
    DeleteFileA(path.c_str());
    drop_pending(path);
}

}  // namespace vell
