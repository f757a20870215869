// The print job, step by step, against a recording spooler: what it asks
// of the printer in which order, on every path, and what it hands each
// page to render.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "document/bytes.h"
#include "document/document.h"
#include "document_test_util.h"
#include "print/print_hooks.h"
#include "print/print_run.h"
#include "print/settings_block.h"
#include "print/spooler.h"
#include "render/units.h"
#include "render_test_util.h"
#include "vel_writer.h"

namespace vell {
namespace {

// One page as render_page was handed it.
struct RenderedPage {
    int page = 0;
    int32_t resolution_x = 0, resolution_y = 0, origin_x = 0, origin_y = 0;
    bool has_block = false;
    int32_t driver_size = 0;
    int16_t orientation = 0;  // of the block as handed over
    uint32_t fields = 0;
    double zoom = 0;
};

// Records every call in order and answers as set up. Its render_page does
// to the block what the interpreter does for a page, and loads the page.
class RecordingSpooler : public Spooler {
public:
    std::string entry = "OfficePDF,wineps.drv,CUPS:OfficePDF";
    bool printer_opens = true, settings_delivered = true, dc_created = true;
    bool dialog_confirmed = true, doc_starts = true;
    int32_t reported_size = 164;
    PrintRange dialog_choice{0, 0, 0};  // first 0: keep what the dialog opened with
    int end_page_fails_at = 0;          // which EndPage fails, 1-based; 0 none
    PrinterCaps caps{300, 300, 0, 0};

    std::vector<std::string> calls, messages;
    std::vector<RenderedPage> pages;
    std::vector<uint8_t> reset_with;
    PrintRange dialog_opened_with;
    size_t fetch_size = 0;
    bool fetch_buffers_blank = false;

    std::string default_printer_entry() override { return log("entry"), entry; }
    bool open_printer(const std::string& name) override {
        log("open " + name);
        return opened_ = printer_opens;
    }
    int32_t settings_size(const std::string&) override { return log("size"), reported_size; }
    bool fetch_settings(const std::string&, uint8_t* out, uint8_t* in, size_t size) override {
        log("fetch");
        fetch_size = size;
        fetch_buffers_blank = std::all_of(out, out + size, [](uint8_t b) { return b == ' '; }) &&
                              std::all_of(in, in + size, [](uint8_t b) { return b == ' '; });
        if (!settings_delivered) return false;
        std::memset(out, 0, 164);
        put_u16(out, size, devmode::kSize, 156);
        put_u16(out, size, devmode::kDriverExtra, 8);
        put_u32(out, size, devmode::kFields, 0x1EF1F);
        put_i16(out, size, devmode::kPaperSize, 9);
        return true;
    }
    void close_printer() override { log(opened_ ? "close" : "close (not open)"), opened_ = false; }
    bool create_dc(const std::string& name) override { return log("create_dc " + name), dc_created; }
    bool print_dialog(PrintRange* range, int32_t page_count) override {
        log("dialog " + std::to_string(page_count));
        dialog_opened_with = *range;
        if (dialog_confirmed && dialog_choice.first != 0) *range = dialog_choice;
        return dialog_confirmed;
    }
    void pause() override { log("pause"); }
    void begin_wait_cursor() override { log("wait cursor"); }
    void end_wait_cursor() override { log("cursor back"); }
    bool start_doc(const std::string& name) override { return log("start_doc " + name), doc_starts; }
    bool reset_dc(const uint8_t* devmode, size_t size) override {
        log("reset_dc " + std::to_string(size));
        reset_with.assign(devmode, devmode + size);
        return true;
    }
    PrinterCaps device_caps() override { return log("caps"), caps; }
    void render_page(int16_t page, int32_t rx, int32_t ry, int32_t ox, int32_t oy, uint8_t* block,
                     int32_t size) override {
        log("render " + std::to_string(page));
        if (the_document().file.is_open()) load_page(the_document(), page);
        RenderedPage r{page, rx, ry, ox, oy, block != nullptr, size, 0, 0, zoom_factor().value};
        if (block) {
            r.orientation = get_i16(block, kPrinterSettingsSize, devmode::kOrientation);
            r.fields = get_u32(block, kPrinterSettingsSize, devmode::kFields);
            set_page_printer_settings(block, 5, 0, 3);  // Legal, portrait
        }
        pages.push_back(r);
    }
    bool end_page() override { return log("end_page"), ++end_pages_ != end_page_fails_at; }
    bool end_doc() override { return log("end_doc"), true; }
    void abort_doc() override { log("abort_doc"); }
    void delete_dc() override { log("delete_dc"); }
    void show_message(const std::string& text) override { log("message"), messages.push_back(text); }

    std::vector<int> printed_pages() const {
        std::vector<int> numbers;
        for (const RenderedPage& p : pages) numbers.push_back(p.page);
        return numbers;
    }
    bool called(const std::string& call) const {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }

private:
    void log(const std::string& call) { calls.push_back(call); }
    bool opened_ = false;
    int end_pages_ = 0;
};

std::vector<std::string> status_texts;
int status_refreshes = 0;

class PrintJob : public ::testing::Test {
protected:
    void SetUp() override {
        zoom_factor().value = 0.75;
        page_geometry() = PageGeometry();
        display_units() = DisplayUnits();
        status_texts.clear();
        status_refreshes = 0;
        print_hooks() = PrintHooks();
        print_hooks().set_status_text = [](const std::string& text) { status_texts.push_back(text); };
        print_hooks().refresh_status = [] { ++status_refreshes; };
        input.without_dialog = true;
        input.page_count = 3;
        input.title = "Quarterly Report";
        input.first_page = PageHeader{5, 0, 2, 0, 0};  // Legal, portrait, source 2
    }
    void TearDown() override {
        print_hooks() = PrintHooks();
        zoom_factor().value = 1.0;
    }
    RecordingSpooler& run() {
        run_print_job(spooler, input);
        return spooler;
    }

    RecordingSpooler spooler;
    PrintJobInput input;
};

TEST_F(PrintJob, WithoutDialogEveryPageOnceInOneDocument) {
    run();
    const std::vector<std::string> expected = {
        "entry", "open OfficePDF", "size", "fetch", "create_dc OfficePDF", "pause", "wait cursor",
        "reset_dc 20122", "start_doc Quarterly Report", "caps", "render 1", "end_page", "render 2",
        "end_page", "render 3", "end_page", "end_doc", "delete_dc", "cursor back", "close"};
    EXPECT_EQ(spooler.calls, expected);
    EXPECT_EQ(status_texts, (std::vector<std::string>{"1 of 3", "2 of 3", "3 of 3"}));
    EXPECT_EQ(status_refreshes, 1);
    // The settings come into blank-filled buffers of at least 20122 bytes.
    EXPECT_EQ(spooler.fetch_size, kPrinterSettingsSize);
    EXPECT_TRUE(spooler.fetch_buffers_blank);
}

TEST_F(PrintJob, EveryPageStartsFromTheSavedSettings) {
    input.without_dialog = false;
    input.first_page.orientation = 1;  // landscape
    spooler.dialog_choice = PrintRange{1, 3, 2};
    spooler.reported_size = 25000;
    run();
    ASSERT_EQ(spooler.pages.size(), 6u);
    for (const RenderedPage& page : spooler.pages) {
        EXPECT_TRUE(page.has_block);
        EXPECT_EQ(page.driver_size, 25000);
        // Whatever the render of the page before set is undone.
        EXPECT_EQ(page.fields, 1u) << page.page;
        EXPECT_EQ(page.orientation, devmode::kLandscape) << page.page;
    }
    EXPECT_EQ(spooler.fetch_size, 25000u);
}

TEST_F(PrintJob, TheDeviceStartsOnTheFirstPagesPaperBeforeTheDocument) {
    run();
    const std::vector<uint8_t>& reset = spooler.reset_with;
    ASSERT_EQ(reset.size(), kPrinterSettingsSize);
    EXPECT_EQ(get_u32(reset.data(), reset.size(), devmode::kFields), devmode::kPageFields);
    EXPECT_EQ(get_i16(reset.data(), reset.size(), devmode::kPaperSize), 5);
    EXPECT_EQ(get_i16(reset.data(), reset.size(), devmode::kOrientation), devmode::kPortrait);
    EXPECT_EQ(get_i16(reset.data(), reset.size(), devmode::kDefaultSource), 2);
    EXPECT_EQ(get_u16(reset.data(), reset.size(), devmode::kSize), 156);
}

TEST_F(PrintJob, TheDialogOpensOnEveryPageAndItsChoiceIsPrinted) {
    input.without_dialog = false;
    input.page_count = 5;
    spooler.dialog_choice = PrintRange{2, 3, 2};
    run();
    EXPECT_TRUE(spooler.called("dialog 5"));
    EXPECT_EQ(spooler.dialog_opened_with.first, 1);
    EXPECT_EQ(spooler.dialog_opened_with.last, 5);
    EXPECT_EQ(spooler.dialog_opened_with.copies, 1);
    EXPECT_FALSE(spooler.called("create_dc OfficePDF"));
    EXPECT_EQ(spooler.printed_pages(), (std::vector<int>{2, 3, 2, 3}));
    EXPECT_EQ(status_texts, (std::vector<std::string>{"2 of 3", "3 of 3", "2 of 3", "3 of 3"}));
}

TEST_F(PrintJob, NoDeviceContextEndsTheJobQuietly) {
    input.without_dialog = false;
    spooler.dialog_confirmed = false;
    run();
    EXPECT_EQ(spooler.calls, (std::vector<std::string>{"entry", "open OfficePDF", "size", "fetch",
                                                       "dialog 3", "pause", "close"}));
    EXPECT_EQ(zoom_factor().value, 0.75);
    EXPECT_EQ(status_refreshes, 0);

    RecordingSpooler no_dc;
    no_dc.dc_created = false;
    input.without_dialog = true;
    run_print_job(no_dc, input);
    EXPECT_EQ(no_dc.calls.back(), "close");
    EXPECT_TRUE(no_dc.pages.empty());
    EXPECT_TRUE(no_dc.messages.empty());
}

TEST_F(PrintJob, AnEntryWithoutAPrinterGivesTheMessageAndNothingElse) {
    for (const char* entry : {"", "   ", "OfficePDF", ",wineps.drv,CUPS:OfficePDF"}) {
        RecordingSpooler none;
        none.entry = entry;
        run_print_job(none, input);
        EXPECT_EQ(none.calls, (std::vector<std::string>{"entry", "message"})) << entry;
        EXPECT_EQ(none.messages,
                  (std::vector<std::string>{"In order to print, a default printer must be defined."}));
    }
}

// Without the printer's settings the device context keeps its own: no
// reset, and rendering gets no block rather than an empty one.
TEST_F(PrintJob, WithoutThePrintersSettingsTheDeviceContextKeepsItsOwn) {
    RecordingSpooler closed, undelivered, unbelievable;
    closed.printer_opens = false;
    undelivered.settings_delivered = false;
    unbelievable.reported_size = kMaxDriverSettingsSize + 1;
    for (RecordingSpooler* s : {&closed, &undelivered, &unbelievable}) {
        run_print_job(*s, input);
        EXPECT_TRUE(s->reset_with.empty());
        ASSERT_EQ(s->pages.size(), 3u);
        for (const RenderedPage& page : s->pages) {
            EXPECT_FALSE(page.has_block);
            EXPECT_EQ(page.driver_size, 0);
        }
    }
    EXPECT_FALSE(closed.called("size"));
    EXPECT_EQ(closed.calls.back(), "close (not open)");
    EXPECT_FALSE(unbelievable.called("fetch"));
    EXPECT_EQ(unbelievable.calls.back(), "close");
}

TEST_F(PrintJob, PagesAreDrawnAtFullSizeFromThePapersCorner) {
    spooler.caps = PrinterCaps{600, 300, 50, 75};
    run();
    ASSERT_FALSE(spooler.pages.empty());
    const RenderedPage& page = spooler.pages[0];
    EXPECT_EQ(page.resolution_x, 600);
    EXPECT_EQ(page.resolution_y, 300);
    EXPECT_EQ(page.origin_x, -50);
    EXPECT_EQ(page.origin_y, -75);
    EXPECT_EQ(page.zoom, 1.0);
    EXPECT_EQ(zoom_factor().value, 0.75);

    RecordingSpooler no_resolution;
    no_resolution.caps = PrinterCaps{0, -1, 0, 0};
    run_print_job(no_resolution, input);
    ASSERT_FALSE(no_resolution.pages.empty());
    EXPECT_EQ(no_resolution.pages[0].resolution_x, 96);
    EXPECT_EQ(no_resolution.pages[0].resolution_y, 96);
}

TEST_F(PrintJob, ADocumentThatWillNotStartPrintsNoPages) {
    spooler.doc_starts = false;
    run();
    EXPECT_TRUE(spooler.pages.empty());
    const std::vector<std::string> tail(spooler.calls.end() - 4, spooler.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"start_doc Quarterly Report", "delete_dc",
                                              "cursor back", "close"}));
    EXPECT_EQ(zoom_factor().value, 0.75);
}

TEST_F(PrintJob, APageThePrinterRefusesEndsTheDocument) {
    spooler.end_page_fails_at = 2;
    run();
    EXPECT_EQ(spooler.printed_pages(), (std::vector<int>{1, 2}));
    EXPECT_TRUE(spooler.called("abort_doc"));
    EXPECT_FALSE(spooler.called("end_doc"));
    EXPECT_EQ(spooler.calls.back(), "close");
    EXPECT_EQ(zoom_factor().value, 0.75);
}

TEST_F(PrintJob, NoCopiesGiveAnEmptyDocumentUnderVellDocument) {
    input.without_dialog = false;
    input.title = "   ";
    spooler.dialog_choice = PrintRange{1, 3, 0};
    run();
    EXPECT_TRUE(spooler.pages.empty());
    EXPECT_TRUE(spooler.called("start_doc vell Document"));
    EXPECT_TRUE(spooler.called("end_doc"));
}

TEST_F(PrintJob, TheViewersGeometryAndUnitsAreAsBefore) {
    const PageGeometry before{8, 1, 0, 16.5f, 11.7f};
    for (const char* entry : {"OfficePDF,wineps.drv,CUPS:OfficePDF", ""}) {
        page_geometry() = before;
        display_units() = DisplayUnits{120, 144};
        RecordingSpooler s;
        s.entry = entry;
        run_print_job(s, input);
        EXPECT_EQ(page_geometry().paper_size, 8);
        EXPECT_EQ(page_geometry().width, 16.5f);
        EXPECT_EQ(page_geometry().height, 11.7f);
        EXPECT_EQ(display_units().horizontal, 120);
        EXPECT_EQ(display_units().vertical, 144);
    }
}

// What the job relies on when it has no printer settings: a printed page
// rendered with no block is started on the device context as it is,
// without a reset.
class PrintWithoutSettings : public testing_render::RenderFixture {};

TEST_F(PrintWithoutSettings, RenderingStartsThePageWithoutAReset) {
    Target printer;
    printer.printing = true;
    printer.device = Resolution{300, 300};
    printer.resolution_x = printer.resolution_y = 300;
    const RecordingSurface surface =
        render(PageBuilder().aligned_text(1, 1, 0, "x").end_of_page().bytes(), printer);
    EXPECT_TRUE(surface.calls_of(SurfaceOp::kResetDc).empty());
    EXPECT_EQ(surface.calls_of(SurfaceOp::kStartPage).size(), 1u);
}

// The job on the document of the process: its page count, title and first
// page, and the viewer's page loaded again afterwards.
TEST(PrintOpenDocument, TakesTheDocumentAndLeavesItsPageLoaded) {
    testing_document::TempDir dir;
    DocumentPlan plan;
    plan.title = "  Ledger  ";
    plan.pages.push_back(PageBuilder(9, 1, 3).end_of_page().bytes());  // A4 landscape
    plan.pages.push_back(PageBuilder().end_of_page().bytes());
    plan.pages.push_back(PageBuilder().end_of_page().bytes());
    const std::string path = dir.file("ledger.vel");
    ASSERT_TRUE(write_file(path, write_document(plan)));
    Document& doc = the_document();
    ASSERT_TRUE(open_document(doc, path, 0));
    ASSERT_EQ(read_header(doc), HeaderCheck::kDocument);
    read_page_index(doc);
    load_page(doc, 2);
    const Bytes page_two = doc.page;

    RecordingSpooler spooler;
    print_open_document(spooler, true);
    EXPECT_EQ(spooler.printed_pages(), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(spooler.called("start_doc Ledger"));
    // Page 1's header made the whole document landscape on A4.
    ASSERT_FALSE(spooler.pages.empty());
    EXPECT_EQ(spooler.pages[0].orientation, devmode::kLandscape);
    EXPECT_EQ(get_i16(spooler.reset_with.data(), spooler.reset_with.size(), devmode::kPaperSize), 9);
    EXPECT_EQ(doc.page_number, 2);
    EXPECT_EQ(doc.page, page_two);
    close_document(doc);
}

}  // namespace
}  // namespace vell
