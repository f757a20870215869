// The progress bar on standard error while a long document converts: only
// on an interactive terminal, never with --quiet.
#pragma once

#include <cstddef>

namespace vell {

class Progress {
public:
    Progress(bool wanted, size_t total);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    void done(size_t pages);  // pages finished so far

private:
    bool shown_;
    size_t total_;
    int last_width_ = -1;
};

}  // namespace vell
