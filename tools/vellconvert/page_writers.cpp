#include "page_writers.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <memory>
#include <vector>

#include "convert.h"
#include "document/document.h"
#include "document/text.h"
#include "output_file.h"
#include "progress.h"
#include "render/cairo_fonts.h"
#include "render/cairo_surface.h"
#include "render/interpreter.h"
#include "render/page_text.h"
#include "render/units.h"

namespace vell {

namespace {

cairo_status_t write_to(void* closure, const unsigned char* data, unsigned int length) {
    OutputFile& out = *static_cast<OutputFile*>(closure);
    out.write(data, length);
    return std::ferror(out.file()) ? CAIRO_STATUS_WRITE_ERROR : CAIRO_STATUS_SUCCESS;
}

bool open_output(OutputFile& out, const std::string& path) {
    std::string error;
    if (out.open(path, &error)) return true;
    report("cannot write " + path + ": " + error);
    return false;
}

int commit_output(OutputFile& out) {
    std::string error;
    if (out.commit(&error)) return kConvertOk;
    report("cannot write " + out.path() + ": " + error);
    return kConvertOutput;
}

// A sound page, or with --keep-going a damaged one, which is then drawn as
// far as it goes, as the viewer draws it; *damaged remembers that.
bool page_is_drawn(const ConvertOptions& o, Document& doc, int32_t page, bool* damaged) {
    const std::string damage = page_damage(doc, page);
    if (damage.empty()) return true;
    report(o.input + ": page " + std::to_string(page) + " is damaged: " + damage +
           (o.keep_going ? "; drawn as far as it goes" : ""));
    *damaged = true;
    return o.keep_going;
}

// The status of a written output: its own when damaged pages are in it.
int written(int status, bool damaged) {
    return status == kConvertOk && damaged ? kConvertDamaged : status;
}

// ---- PDF ----------------------------------------------------------------------

int write_pdf(const ConvertOptions& o, Document& doc, const std::vector<int32_t>& pages) {
    const std::string name = output_names(o, pages)[0];
    OutputFile out;
    if (!open_output(out, name)) return kConvertOutput;
    cairo_surface_t* pdf = cairo_pdf_surface_create_for_stream(write_to, &out, 612, 792);
    const std::string title = ansi_to_utf8(document_title(doc));
    if (!title.empty()) cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_TITLE, title.c_str());
    cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_CREATOR, "vellconvert");
    cairo_t* cr = cairo_create(pdf);
    int status = kConvertOk;
    bool damaged = false;
    {
        CairoSurface surface(cr, Resolution{kPdfResolution, kPdfResolution}, platform_desktop_resolution());
        surface.set_scalable_page(true);
        // The printer's page steps: each page gets its own paper, and the
        // drawing is in the printer's pixels.
        surface.on_page_start([pdf, cr](const PaperPage& paper) {
            cairo_pdf_surface_set_size(pdf, paper.width * 72.0, paper.height * 72.0);
            cairo_identity_matrix(cr);
            cairo_scale(cr, 72.0 / kPdfResolution, 72.0 / kPdfResolution);
            // A page that starts painted keeps cairo's record of what the
            // page covers to one rectangle; without it every drawing
            // widens a region of thousands of pieces.
            cairo_set_source_rgb(cr, 1, 1, 1);
            cairo_paint(cr);
        });
        std::vector<uint8_t> settings(kPrinterSettingsSize, 0);
        zoom_factor().value = 1.0;
        Progress progress(!o.quiet, pages.size());
        for (size_t i = 0; i < pages.size() && status == kConvertOk; ++i) {
            if (!page_is_drawn(o, doc, pages[i], &damaged)) {
                status = kConvertInput;
                break;
            }
            render_page(int16_t(pages[i]), surface, kPdfResolution, kPdfResolution, 0, 0, 1,
                        settings.data(), int32_t(settings.size()));
            surface.flush_text();
            cairo_show_page(cr);
            unload_page(doc);
            progress.done(i + 1);
        }
    }
    cairo_destroy(cr);
    cairo_surface_finish(pdf);
    if (status == kConvertOk && cairo_surface_status(pdf) != CAIRO_STATUS_SUCCESS) {
        report("cannot write " + name + ": " + cairo_status_to_string(cairo_surface_status(pdf)));
        status = kConvertOutput;
    }
    cairo_surface_destroy(pdf);
    if (status != kConvertOk) return status;
    return written(commit_output(out), damaged);
}

// ---- PNG and SVG -------------------------------------------------------------------

// The largest picture cairo makes.
constexpr int32_t kMaxImageSide = 32767;

bool fits_image(const PixelExtent& extent) {
    return extent.width >= 1 && extent.height >= 1 && extent.width <= kMaxImageSide &&
           extent.height <= kMaxImageSide;
}

// Draws a page onto canvas: white first, as the viewer's page image.
void draw_page(CairoSurface& surface, cairo_surface_t* canvas, int32_t page, int dpi) {
    cairo_t* cr = cairo_create(canvas);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    surface.set_context(cr);
    render_page(int16_t(page), surface, dpi, dpi, 0, 0, 0, nullptr, 0);
    surface.set_context(nullptr);
    cairo_destroy(cr);
}

// The viewer's copy of a page drawn at full size into a smaller window.
void shrink_onto(cairo_surface_t* full, const PixelExtent& from, cairo_surface_t* target,
                 const PixelExtent& to) {
    cairo_t* cr = cairo_create(target);
    cairo_scale(cr, double(to.width) / from.width, double(to.height) / from.height);
    cairo_set_source_surface(cr, full, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_destroy(cr);
}

int write_pictures(const ConvertOptions& o, Document& doc, const std::vector<int32_t>& pages) {
    const bool svg = o.format == OutputFormat::kSvg;
    const std::vector<std::string> names = output_names(o, pages);
    const Resolution resolution{o.dpi, o.dpi};
    // A document may ask for its pages below 100 % to be drawn at full size
    // and shrunk when shown; the viewer does so, and so is the picture made.
    const bool shrink = header_i32(doc, hdr::kDisplayOption) == kDisplayShrink && o.zoom < 1.0;
    CairoSurface surface(nullptr, resolution, resolution);
    std::vector<OutputFile> files;
    files.reserve(pages.size());
    Progress progress(!o.quiet, pages.size());
    bool damaged = false;
    for (size_t i = 0; i < pages.size(); ++i) {
        const int32_t page = pages[i];
        if (!page_is_drawn(o, doc, page, &damaged)) return kConvertInput;
        run_page_geometry(read_page_header(doc, page), resolution);
        const PixelExtent extent = page_extent(o.zoom), full = page_extent(shrink ? 1.0 : o.zoom);
        if (!fits_image(extent) || !fits_image(full)) {
            const PixelExtent& big = fits_image(extent) ? full : extent;
            report(o.input + ": page " + std::to_string(page) + " would be " + std::to_string(big.width) +
                   " x " + std::to_string(big.height) + " pixels; choose a smaller --dpi or --zoom");
            return kConvertUsage;
        }
        files.emplace_back();
        OutputFile& out = files.back();
        if (!open_output(out, names[i])) return kConvertOutput;
        cairo_surface_t* target =
            svg ? cairo_svg_surface_create_for_stream(write_to, &out, extent.width, extent.height)
                : cairo_image_surface_create(CAIRO_FORMAT_RGB24, extent.width, extent.height);
        if (svg) cairo_svg_surface_set_document_unit(target, CAIRO_SVG_UNIT_PX);
        zoom_factor().value = o.zoom;
        if (shrink) {
            // SVG keeps its shapes: the full page is recorded, then replayed smaller.
            const cairo_rectangle_t bounds{0, 0, double(full.width), double(full.height)};
            cairo_surface_t* canvas =
                svg ? cairo_recording_surface_create(CAIRO_CONTENT_COLOR, &bounds)
                    : cairo_image_surface_create(CAIRO_FORMAT_RGB24, full.width, full.height);
            draw_page(surface, canvas, page, o.dpi);
            shrink_onto(canvas, full, target, extent);
            cairo_surface_destroy(canvas);
        } else {
            draw_page(surface, target, page, o.dpi);
        }
        if (!svg) cairo_surface_write_to_png_stream(target, write_to, &out);
        cairo_surface_finish(target);
        const cairo_status_t drawn = cairo_surface_status(target);
        cairo_surface_destroy(target);
        unload_page(doc);
        if (drawn != CAIRO_STATUS_SUCCESS) {
            report("cannot write " + out.path() + ": " + cairo_status_to_string(drawn));
            return kConvertOutput;
        }
        out.close_early();
        progress.done(i + 1);
    }
    // Every page is there: only now do the files get their names, all or none.
    std::string error, failed;
    if (!OutputFile::commit_all(files.data(), files.size(), &error, &failed)) {
        report("cannot write " + failed + ": " + error);
        return kConvertOutput;
    }
    return written(kConvertOk, damaged);
}

// ---- Text -----------------------------------------------------------------------

// A page's texts as lines: the reader's lines in reading order, the texts
// of one line joined by a blank.
std::string page_lines(const PageText& text) {
    std::string out;
    for (const PageTextLine& line : text.lines) {
        std::string words;
        for (size_t i = line.first; i < line.first + line.count; ++i) {
            const std::string piece = trim(text.items[i].text);
            if (piece.empty()) continue;
            if (!words.empty()) words += ' ';
            words += piece;
        }
        if (!words.empty()) out += ansi_to_utf8(words) + '\n';
    }
    return out;
}

int write_text(const ConvertOptions& o, Document& doc, const std::vector<int32_t>& pages) {
    OutputFile out;
    if (!open_output(out, output_names(o, pages)[0])) return kConvertOutput;
    bool damaged = false;
    // Texts measure as on the screen at 100 %, where the viewer finds them.
    const Resolution screen{96, 96};
    CairoSurface measure(nullptr, screen, screen);
    zoom_factor().value = 1.0;
    Progress progress(!o.quiet, pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        if (!page_is_drawn(o, doc, pages[i], &damaged)) return kConvertInput;
        PageSource source;
        source.bytes = doc.page.data();
        source.size = doc.page.size();
        source.page_number = int16_t(pages[i]);
        source.page_count = page_count(doc);
        source.display_option = header_i32(doc, hdr::kDisplayOption);
        const std::string lines = page_lines(read_page_text(source, measure));
        // Pages are separated by form feeds.
        if (i > 0) out.write("\f", 1);
        out.write(lines.data(), lines.size());
        unload_page(doc);
        progress.done(i + 1);
    }
    return written(commit_output(out), damaged);
}

}  // namespace

int write_pages(const ConvertOptions& o, Document& doc, const std::vector<int32_t>& pages) {
    switch (o.format) {
    case OutputFormat::kPdf: return write_pdf(o, doc, pages);
    case OutputFormat::kPng:
    case OutputFormat::kSvg: return write_pictures(o, doc, pages);
    case OutputFormat::kTxt: return write_text(o, doc, pages);
    }
    return kConvertUsage;
}

}  // namespace vell
