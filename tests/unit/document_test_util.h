// Helpers shared by the document core's tests.
#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace vell::testing_document {

// A directory of its own per test, removed with everything in it afterwards.
// Tests run as separate processes in parallel, so the name is random.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("vell-doc-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

}  // namespace vell::testing_document
