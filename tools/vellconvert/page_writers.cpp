#include "page_writers.h"

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
#include "render/cairo_pdf.h"
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

bool page_is_sound(const ConvertOptions& o, Document& doc, int32_t page) {
    const std::string damage = page_damage(doc, page);
    if (damage.empty()) return true;
    report(o.input + ": page " + std::to_string(page) + " is damaged: " + damage);
    return false;
}

// ---- PDF ----------------------------------------------------------------------

int write_pdf(const ConvertOptions& o, Document& doc, const std::vector<int32_t>& pages) {
    OutputFile out;
    if (!open_output(out, o.output)) return kConvertOutput;
    Progress progress(!o.quiet, pages.size());
    PdfRequest request;
    request.pages = pages;
    request.creator = "vellconvert";
    request.write = [&out](const unsigned char* data, size_t size) {
        out.write(data, size);
        return !std::ferror(out.file());
    };
    request.progress = [&progress](size_t done) { progress.done(done); };
    const PdfOutcome outcome = write_pdf(doc, request);
    if (outcome.status == PdfStatus::kDamagedPage) {
        report(o.input + ": page " + std::to_string(outcome.page) + " is damaged: " + outcome.detail);
        return kConvertInput;
    }
    if (outcome.status == PdfStatus::kWriteFailed) {
        report("cannot write " + o.output + ": " + outcome.detail);
        return kConvertOutput;
    }
    return commit_output(out);
}

// ---- PNG and SVG -------------------------------------------------------------------

// The largest picture cairo makes.
constexpr int32_t kMaxImageSide = 32767;

int write_pictures(const ConvertOptions& o, Document& doc, const std::vector<int32_t>& pages) {
    const bool svg = o.format == OutputFormat::kSvg;
    const bool several = pages.size() > 1;
    const Resolution resolution{o.dpi, o.dpi};
    const bool shrink = header_i32(doc, hdr::kDisplayOption) == kDisplayShrink;
    // Full size below 100 % when the document asks so, as the viewer and
    // vellrender draw it.
    const double drawn_zoom = shrink && o.zoom < 1.001 ? 1.0 : o.zoom;
    CairoSurface surface(nullptr, resolution, resolution);
    std::vector<OutputFile> files;
    files.reserve(pages.size());
    Progress progress(!o.quiet, pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        const int32_t page = pages[i];
        if (!page_is_sound(o, doc, page)) return kConvertInput;
        run_page_geometry(read_page_header(doc, page), resolution);
        const PixelExtent extent = page_extent(drawn_zoom);
        if (extent.width < 1 || extent.height < 1 || extent.width > kMaxImageSide ||
            extent.height > kMaxImageSide) {
            report(o.input + ": page " + std::to_string(page) + " would be " +
                   std::to_string(extent.width) + " x " + std::to_string(extent.height) +
                   " pixels; choose a smaller --dpi or --zoom");
            return kConvertUsage;
        }
        files.emplace_back();
        OutputFile& out = files.back();
        if (!open_output(out, page_output_name(o.output, page, several))) return kConvertOutput;
        cairo_surface_t* target =
            svg ? cairo_svg_surface_create_for_stream(write_to, &out, extent.width, extent.height)
                : cairo_image_surface_create(CAIRO_FORMAT_RGB24, extent.width, extent.height);
        if (svg) cairo_svg_surface_set_document_unit(target, CAIRO_SVG_UNIT_PX);
        cairo_t* cr = cairo_create(target);
        // The page image starts white, as the viewer's does.
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        surface.set_context(cr);
        zoom_factor().value = o.zoom;
        render_page(int16_t(page), surface, o.dpi, o.dpi, 0, 0, 0, nullptr, 0);
        surface.set_context(nullptr);
        cairo_destroy(cr);
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
    // Every page is there: only now do the files get their names.
    for (OutputFile& out : files) {
        const int status = commit_output(out);
        if (status != kConvertOk) return status;
    }
    return kConvertOk;
}

// ---- Text -----------------------------------------------------------------------

// A page's texts as lines: the reader's order, a new line where a text
// starts below the middle of the line's first text, texts of one line
// joined by a blank.
std::string page_lines(const PageText& text) {
    std::string out;
    double middle = 0;
    bool line_open = false;
    for (const PageTextItem& item : text.items) {
        const std::string words = trim(item.text);
        if (words.empty()) continue;
        if (line_open && item.rect.top >= middle) {
            out += '\n';
            line_open = false;
        }
        if (!line_open) {
            middle = (item.rect.top + item.rect.bottom) / 2;
            line_open = true;
        } else {
            out += ' ';
        }
        out += ansi_to_utf8(words);
    }
    if (line_open) out += '\n';
    return out;
}

int write_text(const ConvertOptions& o, Document& doc, const std::vector<int32_t>& pages) {
    OutputFile out;
    if (!open_output(out, o.output)) return kConvertOutput;
    // Texts measure as on the screen at 100 %, where the viewer finds them.
    const Resolution screen{96, 96};
    CairoSurface measure(nullptr, screen, screen);
    zoom_factor().value = 1.0;
    Progress progress(!o.quiet, pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        if (!page_is_sound(o, doc, pages[i])) return kConvertInput;
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
    return commit_output(out);
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
