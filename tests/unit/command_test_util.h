// Running a command line from a unit test and reading back what it wrote:
// the tool tests run the built programs as a user would.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace vell {

struct Outcome {
    int status = -1;
    std::string out, err;
};

inline std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs command through the shell, its output and errors caught in two files
// named after capture (removed again); status -1 when it did not exit.
inline Outcome run_command(const std::string& command, const std::filesystem::path& capture) {
    const std::string out = capture.string() + ".out", err = capture.string() + ".err";
    const int raw = std::system((command + " >'" + out + "' 2>'" + err + "'").c_str());
    Outcome r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return r;
}

}  // namespace vell
