// The hostile-document benchmark: bench_hostile [VELLCONVERT] [--write DIR]
//
// Converts each document of the hostile set (tools/common/hostile_documents.h:
// thousands of face names and font sizes, pictures whose headers claim
// gigapixels, wrapped texts that defeat line breaking, positions and widths
// at the edges of the float range) with vellconvert to PDF and to PNG at 96
// dpi, on one core, and prints each conversion's peak memory, its time and
// its time per megabyte of input. The goal is at most 300 MB and 3 s per MB
// for every document. --write only writes the set into DIR. Not a test: run
// by hand.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "hostile_documents.h"
#include "process_run.h"
#include "vel_writer.h"

namespace {

bool write_set(const std::string& dir) {
    for (const vell::HostileDocument& doc : vell::hostile_documents())
        if (!vell::write_file(dir + "/" + doc.name + ".vel", doc.bytes)) return false;
    return true;
}

void print_run(const char* format, const vell::Run& r, double megabytes) {
    if (!r.ok) {
        std::printf("  %s failed", format);
        return;
    }
    // Small documents cost the process's start-up, not their bytes: the
    // rate is taken over at least a tenth of a megabyte.
    std::printf("  %s %7.1f MiB %6.2f s %6.2f s/MB", format, double(r.peak_kib) / 1024, r.seconds,
                r.seconds / std::max(megabytes, 0.1));
}

}  // namespace

int main(int argc, char** argv) {
    const std::string here = std::filesystem::path(argv[0]).parent_path().string();
    std::string tool = here.empty() ? "vellconvert" : here + "/vellconvert";
    if (argc == 3 && std::string(argv[1]) == "--write") return write_set(argv[2]) ? 0 : 1;
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::fprintf(stderr, "usage: bench_hostile [VELLCONVERT] | --write DIR\n");
        return 2;
    }
    if (argc == 2) tool = argv[1];
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("vell-bench-hostile-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    // Written by a child process: a child's peak memory counts the
    // parent's, which must stay small.
    if (!vell::run(argv[0], {"--write", dir.string()}).ok) return 1;
    std::printf("hostile documents, vellconvert on one core: peak memory, time, time per MB\n");
    int failures = 0;
    std::vector<std::filesystem::path> docs;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) docs.push_back(entry.path());
    std::sort(docs.begin(), docs.end(), [](const auto& a, const auto& b) {
        return std::filesystem::file_size(a) < std::filesystem::file_size(b);
    });
    for (const std::filesystem::path& doc : docs) {
        const double megabytes = double(std::filesystem::file_size(doc)) / 1e6;
        const vell::Run pdf = vell::run(tool, {doc.string(), (dir / "out.pdf").string(), "--quiet"});
        const vell::Run png =
            vell::run(tool, {doc.string(), (dir / "out.png").string(), "--quiet", "--dpi", "96"});
        std::printf("%-18s %9.1f KB", doc.stem().c_str(), megabytes * 1000);
        print_run("PDF", pdf, megabytes);
        print_run("PNG", png, megabytes);
        std::printf("\n");
        std::fflush(stdout);
        failures += !pdf.ok + !png.ok;
    }
    std::filesystem::remove_all(dir);
    return failures ? 1 : 0;
}
