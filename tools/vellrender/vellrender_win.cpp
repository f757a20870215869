// vellrender: renders one page of a vell document into a picture file, with
// the real GDI surface in a memory device context (no window, no display).
//
//   vellrender DOCUMENT PAGE OUTPUT.bmp|OUTPUT.png [--dpi N | --dpi XxY]
//              [--zoom Z] [--printer]
//   vellrender --bench [--repeat N]
//
// The page is drawn at N pixels per inch (96 unless given) and zoom Z (1.0)
// onto a white 24-bit image of the page's size, as the viewer draws it for
// the screen; --printer takes the printing path instead (page start, the
// printer's picture path). The image acts as a screen of that resolution:
// fonts and page geometry are sized for it. --bench compares rendering a
// dense page with playing back a metafile of the same drawing.
//
// Exit codes: 0 written, 1 wrong arguments, 2 not a document, 3 the image
// could not be made or written.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "document/container.h"
#include "document/document.h"
#include "document/file_io.h"
#include "image_file.h"
#include "page_image_win.h"
#include "render/gdi_surface_win.h"
#include "render/interpreter.h"
#include "render/units.h"
#include "vel_writer.h"

namespace vell {
int run_metafile_bench(int repeat, int dpi);  // metafile_bench_win.cpp
}

namespace {

struct Options {
    std::string document;
    int page = 1;
    std::string output;
    int dpi_x = 96;
    int dpi_y = 96;
    double zoom = 1.0;
    bool printer = false;
    bool bench = false;
    int repeat = 50;
};

int usage() {
    std::fprintf(stderr,
                 "usage: vellrender DOCUMENT PAGE OUTPUT.bmp|OUTPUT.png [--dpi N|XxY] [--zoom Z] [--printer]\n"
                 "       vellrender --bench [--repeat N] [--dpi N]\n");
    return 1;
}

bool ends_with(const std::string& s, const char* tail) {
    const size_t n = std::strlen(tail);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - n + i])) != tail[i]) return false;
    return true;
}

bool parse(int argc, char** argv, Options* o) {
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (a == "--dpi") {
            const char* v = value();
            if (!v) return false;
            if (std::sscanf(v, "%dx%d", &o->dpi_x, &o->dpi_y) == 1) o->dpi_y = o->dpi_x;
            if (o->dpi_x < 1 || o->dpi_y < 1 || o->dpi_x > 2400 || o->dpi_y > 2400) return false;
        } else if (a == "--zoom") {
            const char* v = value();
            if (!v) return false;
            o->zoom = std::atof(v);
            if (!(o->zoom > 0.01 && o->zoom <= 10.0)) return false;
        } else if (a == "--printer") {
            o->printer = true;
        } else if (a == "--bench") {
            o->bench = true;
        } else if (a == "--repeat") {
            const char* v = value();
            if (!v || (o->repeat = std::atoi(v)) < 1) return false;
        } else if (!a.empty() && a[0] == '-') {
            return false;
        } else {
            positional.push_back(a);
        }
    }
    if (o->bench) return positional.empty();
    if (positional.size() != 3) return false;
    o->document = positional[0];
    // Page numbers are 16-bit; pages out of the document's range draw as
    // an empty page, as in the viewer.
    o->page = std::atoi(positional[1].c_str());
    if (o->page < -32768 || o->page > 32767) return false;
    o->output = positional[2];
    return ends_with(o->output, ".bmp") || ends_with(o->output, ".png");
}

// Notices go to the console: a tool has no one to click a message box.
void print_notice(const std::string& text) {
    std::string line = text;
    for (char& c : line)
        if (c == '\r') c = '\n';
    std::fprintf(stderr, "vellrender: %s\n", line.c_str());
}

int render_document(const Options& o) {
    using namespace vell;
    Document& doc = the_document();
    if (!file_exists(o.document) || !open_document(doc, o.document, self_extract_base(o.document))) {
        std::fprintf(stderr, "vellrender: cannot open %s\n", o.document.c_str());
        return 2;
    }
    if (read_header(doc) != HeaderCheck::kDocument) {
        std::fprintf(stderr, "vellrender: %s is not a vell document\n", o.document.c_str());
        return 2;
    }
    read_page_index(doc);
    initialise_display_units();  // the decimal separator of win.ini
    render_hooks().show_notice = print_notice;

    // The image has the page's size at the resolution and the zoom it is
    // drawn at: full size for zooms below 100 % when the document asks so.
    const bool shrink = header_i32(doc, hdr::kDisplayOption) == kDisplayShrink;
    const double drawn_zoom = !o.printer && shrink && o.zoom < 1.001 ? 1.0 : o.zoom;
    run_page_geometry(read_page_header(doc, o.page), Resolution{o.dpi_x, o.dpi_y});
    const PixelExtent extent = page_extent(drawn_zoom);
    PageImage image(extent.width, extent.height);
    if (!image.ok()) {
        std::fprintf(stderr, "vellrender: cannot make a %d x %d image\n", extent.width, extent.height);
        return 3;
    }

    GdiSurface surface(image.dc());
    surface.set_reported_resolution(Resolution{o.dpi_x, o.dpi_y});
    zoom_factor().value = o.zoom;
    // The printing path resets the device context with the page's paper; a
    // memory device context ignores that, so a plain DEVMODEA does.
    std::vector<uint8_t> settings(kPrinterSettingsSize, 0);
    DEVMODEA* devmode = reinterpret_cast<DEVMODEA*>(settings.data());
    devmode->dmSpecVersion = DM_SPECVERSION;
    devmode->dmSize = sizeof(DEVMODEA);
    render_page(int16_t(o.page), surface, o.dpi_x, o.dpi_y, 0, 0, o.printer ? 1 : 0,
                o.printer ? settings.data() : nullptr, o.printer ? int32_t(settings.size()) : 0);

    const PixelRows rows = image.rows();
    const bool png = ends_with(o.output, ".png");
    const Bytes file = png ? encode_png(rows, o.dpi_x, o.dpi_y) : encode_bmp(rows, o.dpi_x, o.dpi_y);
    if (file.empty()) {
        std::fprintf(stderr, "vellrender: the Windows Imaging Component cannot make the PNG image\n");
        return 3;
    }
    if (!write_file(o.output, file)) {
        std::fprintf(stderr, "vellrender: cannot write %s\n", o.output.c_str());
        return 3;
    }
    close_document(doc);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, &options)) return usage();
    if (options.bench) return vell::run_metafile_bench(options.repeat, options.dpi_x);
    return render_document(options);
}
