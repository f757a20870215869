#include "progress.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace vell {

namespace {
constexpr int kBarWidth = 40;
}

// A page or two is over before a bar could be read.
Progress::Progress(bool wanted, size_t total)
    : shown_(wanted && total > 2 && isatty(STDERR_FILENO)), total_(total) {}

Progress::~Progress() {
    if (shown_ && last_width_ >= 0) std::fputs("\n", stderr);
}

void Progress::done(size_t pages) {
    if (!shown_ || total_ == 0) return;
    const int width = int(pages * kBarWidth / total_);
    if (width == last_width_ && pages != total_) return;
    last_width_ = width;
    std::string bar(size_t(width), '#');
    bar.append(size_t(kBarWidth - width), '.');
    std::fprintf(stderr, "\r[%s] %zu/%zu pages", bar.c_str(), pages, total_);
    std::fflush(stderr);
}

}  // namespace vell
