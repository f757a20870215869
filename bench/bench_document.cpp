// Start-up cost of the document reader: open, validate, read the page index
// and the document index, load page 1, for a one-page and a 32767-page
// document; and loading the last page of the large one.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "document/document.h"
#include "vel_writer.h"

namespace vell {
namespace {

namespace fs = std::filesystem;

// A page like a report's: a font, a heading, a few lines of text, a rule.
Bytes report_page(int n) {
    PageBuilder p;
    p.font(1, 14.0f, 0, "Arial").aligned_text(1.0f, 1.0f, 0, "Page " + std::to_string(n));
    p.font(0, 10.0f, 0, "Times New Roman");
    for (int line = 0; line < 8; ++line)
        p.aligned_text(1.0f, 1.5f + 0.25f * float(line), 0, "Item " + std::to_string(line) + " of the report");
    p.line(1.0f, 4.0f, 7.5f, 4.0f, 0.5f, 0).page_number(4.25f, 10.5f, 1, 0).end_of_page();
    return p.bytes();
}

// The two documents, written once into a temporary directory and removed
// when the program ends.
struct Documents {
    fs::path dir;
    std::string small, large;

    Documents() {
        dir = fs::temp_directory_path() / ("vell-bench-" + std::to_string(fs::file_time_type::clock::now().time_since_epoch().count()));
        fs::create_directories(dir);
        small = (dir / "small.vel").string();
        large = (dir / "large.vel").string();
        write(small, 1);
        write(large, kMaxPages);
    }
    ~Documents() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }

    static void write(const std::string& path, int pages) {
        DocumentPlan plan;
        plan.title = "Benchmark report";
        for (int i = 1; i <= pages; ++i) {
            plan.pages.push_back(report_page(i));
            plan.index.push_back({int16_t(i), "Section " + std::to_string(i)});
        }
        write_file(path, write_document(plan));
    }
};

const Documents& documents() {
    static Documents instance;
    return instance;
}

void BM_OpenAndIndex(benchmark::State& state) {
    const std::string& path = state.range(0) ? documents().large : documents().small;
    for (auto _ : state) {
        Document doc;
        open_document(doc, path, 0);
        read_header(doc);
        read_settings(doc);
        read_page_index(doc);
        read_document_index(doc);
        load_page(doc, 1);
        benchmark::DoNotOptimize(doc.page.data());
        close_document(doc);
    }
    state.SetLabel(state.range(0) ? "32767 pages" : "1 page");
}
BENCHMARK(BM_OpenAndIndex)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_LoadLastPage(benchmark::State& state) {
    Document doc;
    open_document(doc, documents().large, 0);
    read_header(doc);
    read_page_index(doc);
    for (auto _ : state) {
        load_page(doc, kMaxPages);
        benchmark::DoNotOptimize(doc.page.data());
    }
}
BENCHMARK(BM_LoadLastPage)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vell

BENCHMARK_MAIN();
