#include "render/cairo_pdf.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include "document/document.h"
#include "render/cairo_fonts.h"
#include "render/cairo_surface.h"
#include "render/interpreter.h"
#include "render/records.h"
#include "render/units.h"

namespace vell {

std::string page_damage(Document& doc, int32_t page) {
    const PageSpan span = page_span(doc, page);
    if (span.length < int32_t(kPageRecordsOffset)) return "its place in the page index is wrong";
    if (doc.page_number != page) load_page(doc, page);
    if (doc.page.size() < size_t(span.length)) return "the file ends inside it";
    PageRecord record;
    size_t at = kPageRecordsOffset;
    for (;;) {
        const Decoded decoded = decode_record(doc.page.data(), doc.page.size(), at, &record);
        if (decoded == Decoded::kEndOfPage) return std::string();
        if (decoded == Decoded::kUnknownOpcode) return "it holds a record of an unknown kind";
        if (decoded == Decoded::kMalformed || record.cut_short)
            return "a record runs past the end of the page";
        at = record.next;
    }
}

namespace {

cairo_status_t write_to(void* closure, const unsigned char* data, unsigned int length) {
    const PdfRequest& request = *static_cast<const PdfRequest*>(closure);
    return request.write(data, length) ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

// The zoom factor is 1.0 while pages are drawn for paper, and comes back.
class PrintingZoom {
public:
    PrintingZoom() : kept_(zoom_factor().value) { zoom_factor().value = 1.0; }
    ~PrintingZoom() { zoom_factor().value = kept_; }
    PrintingZoom(const PrintingZoom&) = delete;
    PrintingZoom& operator=(const PrintingZoom&) = delete;

private:
    double kept_;
};

PdfOutcome draw_pages(Document& doc, const PdfRequest& request, cairo_surface_t* pdf, cairo_t* cr) {
    CairoSurface surface(cr, Resolution{kPdfResolution, kPdfResolution}, platform_desktop_resolution());
    surface.set_scalable_page(true);
    // The printer's page steps: each page gets its own paper, and the
    // drawing is in the printer's pixels.
    surface.on_page_start([pdf, cr](const PaperPage& paper) {
        cairo_pdf_surface_set_size(pdf, paper.width * 72.0, paper.height * 72.0);
        cairo_identity_matrix(cr);
        cairo_scale(cr, 72.0 / kPdfResolution, 72.0 / kPdfResolution);
        // A page that starts painted keeps cairo's record of what the page
        // covers to one rectangle; without it every drawing widens a region
        // of thousands of pieces.
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
    });
    std::vector<uint8_t> settings(kPrinterSettingsSize, 0);
    PrintingZoom zoom;
    for (size_t i = 0; i < request.pages.size(); ++i) {
        const int32_t page = request.pages[i];
        std::string damage = page_damage(doc, page);
        if (!damage.empty() && !(request.damaged_page && request.damaged_page(page, damage)))
            return PdfOutcome{PdfStatus::kDamagedPage, page, std::move(damage)};
        // page_damage loaded the page.
        PageSource source;
        source.bytes = doc.page.data();
        source.size = doc.page.size();
        source.page_number = int16_t(page);
        source.page_count = page_count(doc);
        source.display_option = header_i32(doc, hdr::kDisplayOption);
        render_page_bytes(source, surface, kPdfResolution, kPdfResolution, 0, 0, 1, settings.data(),
                          int32_t(settings.size()));
        surface.flush_text();
        cairo_show_page(cr);
        unload_page(doc);
        // A write that failed is told at once: the rest would go nowhere.
        if (cairo_surface_status(pdf) != CAIRO_STATUS_SUCCESS) break;
        if (request.progress) request.progress(i + 1);
    }
    return PdfOutcome{};
}

}  // namespace

PdfOutcome write_pdf(Document& doc, const PdfRequest& request) {
    cairo_surface_t* pdf = cairo_pdf_surface_create_for_stream(
        write_to, const_cast<PdfRequest*>(&request), 612, 792);
    const std::string title = ansi_to_utf8(document_title(doc));
    if (!title.empty()) cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_TITLE, title.c_str());
    if (!request.creator.empty())
        cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_CREATOR, request.creator.c_str());
    cairo_t* cr = cairo_create(pdf);
    PdfOutcome outcome = draw_pages(doc, request, pdf, cr);
    cairo_destroy(cr);
    cairo_surface_finish(pdf);
    const cairo_status_t status = cairo_surface_status(pdf);
    cairo_surface_destroy(pdf);
    if (outcome.status == PdfStatus::kWritten && status != CAIRO_STATUS_SUCCESS)
        outcome = PdfOutcome{PdfStatus::kWriteFailed, 0, cairo_status_to_string(status)};
    return outcome;
}

}  // namespace vell
