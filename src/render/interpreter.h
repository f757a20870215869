// Render a page: replays one page's records onto a drawing surface at a
// given resolution, zoom and origin offset. The only drawing path of the
// viewer: the page image on the screen and every printed page go through it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "document/bytes.h"
#include "render/surface.h"

namespace vell {

class FileSystem;

// What rendering calls outside itself. Every pointer may be null.
struct RenderHooks {
    // Fit the viewer's page area and scroll bars to the page geometry and
    // zoom; called on the screen path after page geometry, before drawing.
    // Null until the viewer window plugs it in.
    void (*fit_page_area)() = nullptr;
    // Shows the unknown-record notice (screen path, once per document);
    // null shows nothing.
    void (*show_notice)(const std::string& text) = nullptr;
    // Where pictures find files and temporary names; null: the system's.
    FileSystem* files = nullptr;
    // When set, picture file records draw nothing and this is told their
    // path instead: a converter on a server must not put local files into
    // its output. Null: picture files are drawn.
    void (*refuse_picture_file)(const std::string& path) = nullptr;
    // Tells the user that a picture beyond the page's pixel budget was
    // drawn reduced (once per process, any path); null tells no one.
    void (*picture_notice)(const std::string& text) = nullptr;
};
RenderHooks& render_hooks();

// The printer settings block: a working copy of the default printer's
// DEVMODEA, of which rendering sets four fields per page.
constexpr size_t kPrinterSettingsSize = 20122;
namespace devmode {
constexpr size_t kFields = 40;         // DWORD dmFields
constexpr size_t kOrientation = 44;    // short dmOrientation
constexpr size_t kPaperSize = 46;      // short dmPaperSize
constexpr size_t kDefaultSource = 56;  // short dmDefaultSource
constexpr uint32_t kPageFields = 0x203;  // DM_ORIENTATION | DM_PAPERSIZE | DM_DEFAULTSOURCE
constexpr int16_t kPortrait = 1;
constexpr int16_t kLandscape = 2;
constexpr int16_t kPaperLetter = 1;
constexpr int16_t kBinAuto = 7;
}  // namespace devmode

// Sets the page's orientation, paper size (1..41, else Letter) and paper
// source (1..14, else automatic) and dmFields in a printer settings block of
// at least kPrinterSettingsSize bytes.
void set_page_printer_settings(uint8_t* block, int16_t paper_size, int16_t orientation,
                               int16_t paper_source);

// Render a page. Arguments as the screen and the print job pass them:
// page number (1-based), the surface of the device context, its horizontal
// and vertical resolution in pixels per inch, the origin offset in device
// pixels (minus the printer's physical offset when printing), the printing
// flag, and for printing the printer settings block (kPrinterSettingsSize
// bytes) with the driver settings size. Nothing is reported to the caller.
void render_page(int16_t page, Surface& surface, int32_t resolution_x, int32_t resolution_y,
                 int32_t origin_x, int32_t origin_y, int16_t printing, uint8_t* printer_settings,
                 int32_t driver_settings_size);

// The record loop on page bytes the caller holds, with the page count and
// display option given instead of read from the document. render_page
// calls it on the loaded page; benchmarks and tests call it directly.
struct PageSource {
    const uint8_t* bytes = nullptr;
    size_t size = 0;
    int16_t page_number = 0;
    int32_t page_count = 0;
    int32_t display_option = 0;
    // Reading the page's texts rather than showing it (page_text.h): nothing
    // outside the surface changes. No page geometry, fitting or notice, no
    // window labels, and no pictures, which would write temporary files.
    bool reading_text = false;
};
void render_page_bytes(const PageSource& page, Surface& surface, int32_t resolution_x,
                       int32_t resolution_y, int32_t origin_x, int32_t origin_y, int16_t printing,
                       uint8_t* printer_settings, int32_t driver_settings_size);

}  // namespace vell
