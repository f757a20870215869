// The page interpreter on a dense page (about 2,000 records) drawn on a
// surface that does nothing, against a plain copy of the same page bytes:
// what interpreting costs on top of touching the bytes once. Reports
// records per second for both and the ratio of their times.
#include <benchmark/benchmark.h>

#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "dense_page.h"
#include "render/interpreter.h"
#include "render/records.h"
#include "render/surface.h"

namespace vell {
namespace {

// A surface with no device behind it: every call returns at once, text
// measures 7 pixels per character.
class NullSurface : public Surface {
public:
    SurfaceHandle create_pen(int, int, uint32_t) override { return ++next_; }
    SurfaceHandle create_solid_brush(uint32_t) override { return ++next_; }
    SurfaceHandle create_font_indirect(const LogFont&) override { return ++next_; }
    SurfaceHandle select_object(SurfaceHandle) override { return 1; }
    bool delete_object(SurfaceHandle) override { return true; }
    int device_caps(int) override { return 96; }
    Resolution desktop_resolution() override { return Resolution{96, 96}; }
    bool move_to(int, int) override { return true; }
    bool line_to(int, int) override { return true; }
    bool rectangle(int, int, int, int) override { return true; }
    bool text_out(int, int, const char*, int) override { return true; }
    SurfaceSize text_extent(const char*, int count) override { return SurfaceSize{7 * count, 14}; }
    TextMetrics text_metrics() override { return TextMetrics{14, 11, 3, 2, 0, 7, 14}; }
    bool ext_text_out(int, int, unsigned, const SurfaceRect*, const char*, int) override { return true; }
    int draw_text_ex(const char*, SurfaceRect*, unsigned) override { return 14; }
    uint32_t set_text_color(uint32_t) override { return 0; }
    int set_bk_mode(int) override { return 1; }
    unsigned set_text_align(unsigned) override { return 0; }
    SurfaceHandle load_bitmap_file(const char*) override { return 0; }
    bool bitmap_info(SurfaceHandle, BitmapInfo*) override { return false; }
    SurfaceHandle create_picture_dc() override { return 0; }
    SurfaceHandle select_into(SurfaceHandle, SurfaceHandle) override { return 0; }
    bool delete_dc(SurfaceHandle) override { return true; }
    bool stretch_blt(int, int, int, int, SurfaceHandle, int, int, int, int, uint32_t) override { return true; }
    int get_dibits(SurfaceHandle, SurfaceHandle, unsigned, unsigned, void*, DibDescription*, unsigned) override { return 0; }
    int stretch_dibits(int, int, int, int, int, int, int, int, const void*, const DibDescription*, unsigned,
                       uint32_t) override { return 0; }
    bool reset_dc(const uint8_t*, size_t) override { return true; }
    int start_page() override { return 1; }

private:
    SurfaceHandle next_ = 100;
};

const Bytes& page() {
    static const Bytes bytes = dense_page();
    return bytes;
}

int64_t record_count() {
    static const int64_t count = [] {
        int64_t n = 0;
        PageRecord record;
        size_t at = 12;
        while (decode_record(page().data(), page().size(), at, &record) == Decoded::kRecord) {
            ++n;
            at = record.next;
        }
        return n;
    }();
    return count;
}

void BM_InterpretDensePage(benchmark::State& state) {
    NullSurface surface;
    PageSource source;
    source.bytes = page().data();
    source.size = page().size();
    source.page_number = 1;
    source.page_count = 1;
    for (auto _ : state) render_page_bytes(source, surface, 96, 96, 0, 0, 0, nullptr, 0);
    state.counters["records/s"] =
        benchmark::Counter(double(record_count()), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["records"] = double(record_count());
}
BENCHMARK(BM_InterpretDensePage)->Unit(benchmark::kMicrosecond);

void BM_CopyPageBytes(benchmark::State& state) {
    std::vector<uint8_t> copy(page().size());
    for (auto _ : state) {
        std::memcpy(copy.data(), page().data(), page().size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.counters["records/s"] =
        benchmark::Counter(double(record_count()), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["bytes"] = double(page().size());
}
BENCHMARK(BM_CopyPageBytes)->Unit(benchmark::kMicrosecond);

// Prints the usual table, then the ratio of the two times. CPU times, like
// the rates: the machines that run this are shared, and wall time there
// measures the neighbours.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration) times_[run.benchmark_name()] = run.GetAdjustedCPUTime();
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        auto interpret = times_.find("BM_InterpretDensePage");
        auto copy = times_.find("BM_CopyPageBytes");
        if (interpret != times_.end() && copy != times_.end() && copy->second > 0)
            std::cout << "interpreting / copying the same page bytes (CPU time): " << interpret->second / copy->second
                      << " (" << record_count() << " records, " << page().size() << " bytes)\n";
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace
}  // namespace vell

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    vell::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
