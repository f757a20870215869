// Rendering arbitrary page bytes on the recording surface, on the screen
// path and on the printer path: nothing may crash or read outside the page,
// and afterwards the device context holds what it held before, every object
// the interpreter made is deleted, and the zoom factor is back.
#include <vector>

#include "render/interpreter.h"
#include "render/recording_surface.h"
#include "render/units.h"

using namespace vell;

static void check_restored(const RecordingSurface& surface, double zoom_before) {
    if (surface.selected_pen() != surface.stock_pen()) __builtin_trap();
    if (surface.selected_brush() != surface.stock_brush()) __builtin_trap();
    if (surface.selected_font() != surface.stock_font()) __builtin_trap();
    if (surface.live_objects() != 0) __builtin_trap();
    if (!surface.problems().empty()) __builtin_trap();
    if (zoom_factor().value != zoom_before) __builtin_trap();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    render_hooks().show_notice = nullptr;
    PageSource page;
    page.bytes = data;
    page.size = size;
    page.page_number = 3;
    page.page_count = 12;
    // The first byte picks the display option and zoom, so both the
    // shrinking path and ordinary zooms are reached.
    page.display_option = size > 0 && (data[0] & 1) ? 0x800 : 0;
    zoom_factor().value = size > 0 && (data[0] & 2) ? 0.75 : 1.25;
    const double zoom = zoom_factor().value;

    RecordingSurface screen({96, 96}, {96, 96});
    render_page_bytes(page, screen, 96, 96, 0, 0, 0, nullptr, 0);
    check_restored(screen, zoom);

    std::vector<uint8_t> settings(kPrinterSettingsSize, 0);
    RecordingSurface printer({300, 300}, {96, 96});
    render_page_bytes(page, printer, 300, 300, -50, -50, 1, settings.data(),
                      int32_t(settings.size()));
    check_restored(printer, zoom);
    return 0;
}
