// The conversion benchmark: bench_convert [VELLCONVERT] [--write DOCUMENT PAGES]
//
// Writes documents of 10, 100 and 300 dense pages (about 2,000 records each,
// bench/dense_page.h), converts each with vellconvert pinned to one core to
// PDF and to PNG at 96 dpi, and prints pages per second, PDF bytes per
// page and the peak memory of the process, which must not grow with the
// page count. Wall-clock rates suffer on a shared machine; the rates per
// CPU second are the process's own work. --write only writes a dense document (for the Wine route
// and the fidelity test). Not a test: run by hand or by bench/convert/run.sh.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "dense_page.h"
#include "process_run.h"
#include "vel_writer.h"

namespace {

using vell::Run;
using vell::run;

bool write_dense(const std::string& path, int pages) {
    vell::DocumentPlan plan;
    plan.title = "Conversion Bench";
    const vell::Bytes page = vell::dense_page();
    for (int i = 0; i < pages; ++i) plan.pages.push_back(page);
    return vell::write_file(path, vell::write_document(plan));
}

}  // namespace

int main(int argc, char** argv) {
    const std::string here = std::filesystem::path(argv[0]).parent_path().string();
    std::string tool = here.empty() ? "vellconvert" : here + "/vellconvert";
    if (argc == 4 && std::string(argv[1]) == "--write")
        return write_dense(argv[2], std::atoi(argv[3])) ? 0 : 1;
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::fprintf(stderr, "usage: bench_convert [VELLCONVERT] | --write DOCUMENT PAGES\n");
        return 2;
    }
    if (argc == 2) tool = argv[1];
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("vell-bench-convert-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::printf("dense pages of about 2,000 records, one core\n");
    int failures = 0;
    for (int pages : {10, 100, 300}) {
        const std::string doc = (dir / "dense.vel").string();
        // Written by a child process: a child's peak memory counts the
        // parent's at the fork, which must stay small.
        if (!run(argv[0], {"--write", doc, std::to_string(pages)}).ok) return 1;
        const std::string pdf = (dir / "dense.pdf").string();
        const Run p = run(tool, {doc, pdf, "--quiet"});
        const long pdf_bytes = p.ok ? long(std::filesystem::file_size(pdf)) : 0;
        const Run g = run(tool, {doc, (dir / "dense.png").string(), "--quiet", "--dpi", "96"});
        failures += !p.ok + !g.ok;
        if (!p.ok || !g.ok) {
            // A conversion that failed has no rate to show.
            std::printf("%4d pages  %s failed (%s)\n", pages, !p.ok ? "PDF" : "PNG", tool.c_str());
            break;
        }
        std::printf("%4d pages  PDF %6.1f pages/s (%6.1f per CPU second) %6ld bytes/page peak %6ld KiB"
                    "   PNG 96 dpi %6.1f pages/s (%6.1f per CPU second) peak %6ld KiB\n",
                    pages, pages / p.seconds, pages / p.cpu_seconds, pdf_bytes / pages, p.peak_kib,
                    pages / g.seconds, pages / g.cpu_seconds, g.peak_kib);
        std::fflush(stdout);
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    std::filesystem::remove_all(dir);
    return failures ? 1 : 0;
}
