// Find: a search of a 32767-page document of typical pages for a text on
// its last page (pages per second and the time to the match), and reading
// the texts of one typical page, measured with the recording surface's font
// model.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "document/document.h"
#include "render/recording_surface.h"
#include "typical_page.h"
#include "viewer/find_search.h"

namespace vell {
namespace {

namespace fs = std::filesystem;

struct LargeDocument {
    fs::path dir;
    std::string path;
    LargeDocument() {
        dir = fs::temp_directory_path() /
              ("vell-findbench-" + std::to_string(fs::file_time_type::clock::now().time_since_epoch().count()));
        fs::create_directories(dir);
        path = (dir / "large.vel").string();
        DocumentPlan plan;
        plan.title = "Find benchmark";
        for (int i = 1; i <= kMaxPages; ++i) plan.pages.push_back(typical_page(i, i == kMaxPages));
        write_file(path, write_document(plan));
    }
    ~LargeDocument() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
};

const LargeDocument& large_document() {
    static LargeDocument instance;
    return instance;
}

// The large document opened as the viewer opens it, page 1 loaded.
void open_large(Document& doc) {
    open_document(doc, large_document().path, 0);
    read_header(doc);
    read_page_index(doc);
    load_page(doc, 1);
}

// The whole search, from page 1 to the match on the last page.
void BM_FindOnLastPage(benchmark::State& state) {
    Document doc;
    open_large(doc);
    RecordingSurface measure;
    const FindOptions options{state.range(0) != 0, false};
    int32_t pages = 0;
    for (auto _ : state) {
        PageSearchRun run(doc, measure, DocumentSearch(kLastPageText, options, true, page_count(doc), 1, nullptr));
        while (run.step()) {
        }
        if (!run.search().found() || run.search().match().page != kMaxPages)
            state.SkipWithError("the text on the last page was not found");
        pages = run.search().pages_done();
        measure.clear_calls();
    }
    close_document(doc);
    state.counters["pages/s"] = benchmark::Counter(double(pages), benchmark::Counter::kIsIterationInvariantRate);
    state.SetLabel(state.range(0) ? "match case" : "any case");
}
BENCHMARK(BM_FindOnLastPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A search that must read every page's texts: digits match page numbers,
// which are not in the bytes, so no page is passed over ("99999" is on none).
void BM_FindReadingEveryPage(benchmark::State& state) {
    Document doc;
    open_large(doc);
    RecordingSurface measure;
    int32_t pages = 0;
    for (auto _ : state) {
        PageSearchRun run(doc, measure, DocumentSearch("99999", {}, true, page_count(doc), 1, nullptr));
        while (run.step()) measure.clear_calls();
        pages = run.pages_read();
    }
    close_document(doc);
    state.counters["pages/s"] = benchmark::Counter(double(pages), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FindReadingEveryPage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_ReadPageText(benchmark::State& state) {
    const Bytes page = typical_page(17, false);
    RecordingSurface measure;
    PageSource source;
    source.bytes = page.data();
    source.size = page.size();
    source.page_number = 17;
    source.page_count = kMaxPages;
    size_t texts = 0;
    for (auto _ : state) {
        const PageText text = read_page_text(source, measure);
        texts = text.items.size();
        measure.clear_calls();
    }
    state.counters["pages/s"] = benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate);
    state.SetLabel(std::to_string(texts) + " texts a page");
}
BENCHMARK(BM_ReadPageText);

}  // namespace
}  // namespace vell

BENCHMARK_MAIN();
