#include "output_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

namespace vell {

namespace {

// ---- Files a signal removes ------------------------------------------------------

constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// The paths a signal removes: temporary files, and the placed files of a
// set that is not complete yet. Changed only with the signals held, so the
// handler never sees it half changed.
std::vector<std::string>& pending_paths() {
    static std::vector<std::string> paths;
    return paths;
}

void remove_pending(int signal_number) {
    for (const std::string& path : pending_paths()) unlink(path.c_str());
    // The handler was reset when it ran: the signal now ends the process.
    raise(signal_number);
}

// Holds the cleanup signals back while the pending list changes.
class SignalsHeld {
public:
    SignalsHeld() {
        sigset_t set;
        sigemptyset(&set);
        for (int s : kCleanupSignals) sigaddset(&set, s);
        sigprocmask(SIG_BLOCK, &set, &previous_);
    }
    ~SignalsHeld() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t previous_;
};

void drop_pending(const std::string& path) {
    SignalsHeld held;
    std::vector<std::string>& paths = pending_paths();
    const auto at = std::find(paths.begin(), paths.end(), path);
    if (at != paths.end()) paths.erase(at);
}

// ---- Names --------------------------------------------------------------------

std::string folder_of(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The end of a chain of symbolic links (at most 40, as the kernel allows);
// the path itself when it is no link. The end need not exist.
bool link_target(const std::string& path, std::string* target) {
    std::string at = path;
    for (int step = 0; step < 40; ++step) {
        struct stat st;
        if (lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            *target = at;
            return true;
        }
        std::vector<char> buffer(size_t(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = readlink(at.c_str(), buffer.data(), buffer.size());
        if (n < 0) return false;
        const std::string next(buffer.data(), size_t(n));
        at = next[0] == '/' ? next : folder_of(at) + next;
    }
    errno = ELOOP;
    return false;
}

// A temporary name beside target that is no longer than target's own name
// (but at least 7 characters), so a name at the length limit still works.
int create_temporary(const std::string& target, std::string* temporary) {
    static std::mt19937 random{std::random_device{}()};
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const std::string folder = folder_of(target);
    const size_t length = std::clamp<size_t>(target.size() - folder.size(), 7, 12);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = folder + ".";
        while (name.size() < folder.size() + length) name += letters[random() % (sizeof letters - 1)];
        SignalsHeld held;
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            pending_paths().push_back(name);
            *temporary = name;
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

bool write_all(int fd, const char* data, size_t count) {
    while (count > 0) {
        const ssize_t n = ::write(fd, data, count);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        count -= size_t(n);
    }
    return true;
}

// Copies a spooled output to the descriptor from its start.
bool copy_spool(FILE* from, int to) {
    if (std::fflush(from) != 0 || std::fseek(from, 0, SEEK_SET) != 0) return false;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, from)) > 0)
        if (!write_all(to, buffer, n)) return false;
    return !std::ferror(from);
}

bool identity(const std::string& path, struct stat* st) {
    return path == "-" ? fstat(STDOUT_FILENO, st) == 0 : stat(path.c_str(), st) == 0;
}

}  // namespace

bool same_file(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    return identity(a, &sa) && identity(b, &sb) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void remove_on_signals(const std::string& path) {
    SignalsHeld held;
    pending_paths().push_back(path);
}

void forget_on_signals(const std::string& path) { drop_pending(path); }

void remove_outputs_on_signals() {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = remove_pending;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int s : kCleanupSignals) sigaddset(&action.sa_mask, s);
    for (int s : kCleanupSignals) {
        struct sigaction old;
        // A signal the caller ignored (nohup, a background shell) stays ignored.
        if (sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
        sigaction(s, &action, nullptr);
    }
}


bool OutputFile::open(const std::string& path, std::string* error) {
    discard();
    path_ = path;
    failed_ = false;
    placed_ = false;
    struct stat st;
    // Standard output, FIFOs and devices are written as they are, never
    // replaced by a file.
    spooled_ = path == "-" || (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode));
    if (spooled_ && path != "-" && S_ISDIR(st.st_mode)) {
        *error = std::strerror(EISDIR);
        return false;
    }
    if (spooled_) {
        target_ = path;
        file_ = std::tmpfile();
        if (!file_) *error = std::strerror(errno);
        return file_ != nullptr;
    }
    // A link stays a link: the file at its end is what gets written.
    int fd = -1;
    if (link_target(path, &target_)) fd = create_temporary(target_, &temporary_);
    if (fd < 0) {
        *error = std::strerror(errno);
        return false;
    }
    file_ = fdopen(fd, "wb");
    if (!file_) {
        *error = std::strerror(errno);
        ::close(fd);
        discard();
        return false;
    }
    return true;
}



bool copy_spool_out(FILE* spool, const std::string& path, const std::string& target) {
    const int to = path == "-" ? STDOUT_FILENO : ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    bool ok = to >= 0 && copy_spool(spool, to);
    int reason = errno;
    if (to >= 0 && to != STDOUT_FILENO && ::close(to) != 0 && ok) {
        ok = false;
        reason = errno;
    }
    errno = reason;
    return ok;
}

bool move_into_place(const std::string& temporary, const std::string& target) {
    SignalsHeld held;
    if (std::rename(temporary.c_str(), target.c_str()) != 0) return false;
    drop_pending(temporary);
    pending_paths().push_back(target);
    return true;
}

void remove_pending_file(const std::string& path) {
    SignalsHeld held;
    unlink(path.c_str());
    drop_pending(path);
}

}  // namespace vell
