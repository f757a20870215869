#include "print/print_run.h"

#include <vector>

#include "print/print_hooks.h"
#include "print/print_plan.h"
#include "print/printer_entry.h"
#include "print/settings_block.h"
#include "print/spooler.h"
#include "render/interpreter.h"
#include "render/units.h"

namespace vell {

namespace {

// What the job changes of the viewer's state on the way: step 1 runs page
// geometry for page 1, which sets the page geometry and display units that
// the viewer fits its page area and scroll bars to.
struct ViewerState {
    PageGeometry geometry;
    DisplayUnits units;
};

ViewerState keep_viewer_state() { return ViewerState{page_geometry(), display_units()}; }

void restore_viewer_state(const ViewerState& state) {
    page_geometry() = state.geometry;
    display_units() = state.units;
}

void set_status(const std::string& text) {
    if (print_hooks().set_status_text) print_hooks().set_status_text(text);
}

// The default printer's current settings, set to the first page's
// orientation. Not available when the driver's size is not believable or
// DocumentPropertiesA does not deliver a DEVMODEA: the job then prints
// with the device context's own settings.
PrinterSettings fetch_printer_settings(Spooler& spooler, const std::string& name, bool landscape) {
    PrinterSettings settings;
    const int32_t size = driver_settings_size(spooler.settings_size(name));
    if (size == 0) return settings;
    // Blank-filled, as the driver finds them; the input buffer is passed
    // along but, with DM_OUT_BUFFER alone, not read.
    std::vector<uint8_t> output(size_t(size), ' ');
    std::vector<uint8_t> input(size_t(size), ' ');
    if (!spooler.fetch_settings(name, output.data(), input.data(), output.size())) return settings;
    take_printer_settings(output.data(), output.size(), landscape, &settings);
    return settings;
}

// Each page: the settings as they were before any page changed them, the
// status text, the page itself and its end. False when the printer
// refuses a page: the spooler document is then broken and nothing more
// can reach the printer.
bool print_pages(Spooler& spooler, const PrintRange& range, PrinterSettings* settings,
                 const PrinterCaps& caps) {
    uint8_t* block = settings->available ? settings->working.data() : nullptr;
    const int32_t block_size = settings->available ? settings->driver_size : 0;
    return for_each_printed_page(range, [&](int16_t page) {
        restore_working_block(settings);
        set_status(print_status_text(page, range.last));
        spooler.render_page(page, caps.resolution_x, caps.resolution_y, -caps.offset_x,
                            -caps.offset_y, block, block_size);
        return spooler.end_page();
    });
}

PrinterCaps usable_caps(Spooler& spooler) {
    PrinterCaps caps = spooler.device_caps();
    caps.resolution_x = usable_resolution(caps.resolution_x);
    caps.resolution_y = usable_resolution(caps.resolution_y);
    return caps;
}

// The device context set to the first page's paper, orientation and
// source before the spooler document starts. Rendering resets it again
// for every page; but a driver may fix the paper of the whole document
// when the document starts (Wine's PostScript driver writes it into the
// document's set-up at StartDocA and keeps it for every page), and then
// the first page's paper is the one that fits most documents. With no
// settings of the default printer the device context keeps its own: it is
// never reset with an empty block. A failed reset also leaves the device
// context's own settings, which still print.
void prepare_device(Spooler& spooler, const PrinterSettings& settings,
                    const PageHeader& first_page) {
    if (!settings.available) return;
    std::vector<uint8_t> buffer = reset_buffer(settings);
    set_page_printer_settings(buffer.data(), first_page.paper_size, first_page.orientation,
                              first_page.paper_source);
    spooler.reset_dc(buffer.data(), buffer.size());
}

// The spooler document on the device context, at zoom 1.0 under the wait
// cursor; zoom and cursor are put back however it ends.
void print_on_device(Spooler& spooler, const PrintJobInput& input, const PrintRange& range,
                     PrinterSettings* settings) {
    ZoomFactor& zoom = zoom_factor();
    const double kept_zoom = zoom.value;
    zoom.value = 1.0;
    spooler.begin_wait_cursor();

    prepare_device(spooler, *settings, input.first_page);
    // Without a started document the pages would go nowhere: StartPage
    // and EndDoc only fail on a device context with no document.
    if (spooler.start_doc(spooler_document_name(input.title))) {
        const PrinterCaps caps = usable_caps(spooler);
        if (print_pages(spooler, range, settings, caps))
            spooler.end_doc();  // a failure here leaves nothing to undo
        else
            spooler.abort_doc();
    }

    spooler.delete_dc();
    if (print_hooks().refresh_status) print_hooks().refresh_status();
    spooler.end_wait_cursor();
    zoom.value = kept_zoom;
}

}  // namespace

void run_print_job(Spooler& spooler, const PrintJobInput& input) {
    const ViewerState viewer = keep_viewer_state();
    run_page_geometry(input.first_page);
    const bool landscape = page_geometry().orientation == 1;

    std::string name;
    if (!printer_name_from_entry(spooler.default_printer_entry(), &name)) {
        spooler.show_message(kNoDefaultPrinterMessage);
        restore_viewer_state(viewer);
        return;
    }

    PrinterSettings settings;
    if (spooler.open_printer(name)) settings = fetch_printer_settings(spooler, name, landscape);

    PrintRange range = preset_range(input.page_count);
    const bool have_dc = input.without_dialog ? spooler.create_dc(name)
                                              : spooler.print_dialog(&range, input.page_count);
    spooler.pause();
    if (have_dc) print_on_device(spooler, input, range, &settings);

    spooler.close_printer();
    restore_viewer_state(viewer);
}

void print_open_document(Spooler& spooler, bool without_dialog) {
    Document& doc = the_document();
    const int32_t loaded = doc.page_number;

    PrintJobInput input;
    input.without_dialog = without_dialog;
    input.page_count = page_count(doc);
    input.title = document_title(doc);
    input.first_page = read_page_header(doc, 1);
    run_print_job(spooler, input);

    // Rendering loaded the printed pages; whatever reads the loaded page
    // afterwards must find the one the viewer had.
    if (doc.page_number == loaded) return;
    if (loaded > 0)
        load_page(doc, loaded);
    else
        unload_page(doc);
}

}  // namespace vell
