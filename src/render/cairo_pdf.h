// A document's pages as one PDF, drawn by the printing path on the cairo
// surface: each page on its own paper and orientation, lines and boxes as
// vectors, texts as text in embedded subset fonts, pictures as images, the
// document title as the PDF's title. vellconvert and the viewer's save and
// e-mail as PDF both write through here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vell {

struct Document;

// The resolution PDF pages are drawn at: a printer's, so that pen widths,
// positions and glyph advances come out as on paper. 720 makes a pixel a
// tenth of a point, so the page's numbers are short decimals.
constexpr int kPdfResolution = 720;

// Why a page cannot be drawn faithfully (empty when it can): a wrong place
// in the page index, a file that ends inside it, a record of an unknown
// kind or one that runs past its end. Loads the page.
std::string page_damage(Document& doc, int32_t page);

struct PdfRequest {
    std::vector<int32_t> pages;  // 1-based, in the order to write
    std::string creator;         // the PDF's creator entry
    // Takes the file's bytes in order; false stops the writing.
    std::function<bool(const unsigned char* data, size_t size)> write;
    // Told after each page with the number of pages done; may be empty.
    std::function<void(size_t done)> progress;
    // Told of a damaged page and what is wrong with it: true draws it as
    // far as it goes, as the viewer does; false, or none given, stops.
    std::function<bool(int32_t page, const std::string& damage)> damaged_page;
};

enum class PdfStatus { kWritten, kDamagedPage, kWriteFailed };

struct PdfOutcome {
    PdfStatus status = PdfStatus::kWritten;
    int32_t page = 0;    // the damaged page
    std::string detail;  // what is wrong with it, or what cairo said
};

// Writes the pages of the open document. Every page is checked before it is
// drawn: a damaged page stops the writing unless damaged_page says to draw
// it, so a PDF that is written has every page whole or as asked. The caller has set up display units; the zoom factor is
// 1.0 while it runs and put back after.
PdfOutcome write_pdf(Document& doc, const PdfRequest& request);

}  // namespace vell
