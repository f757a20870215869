// The output formats: a PDF of all pages, a PNG or SVG file per page (or
// one for a single page), and text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "options.h"

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

// Writes the pages in the options' format; returns an exit status.
int write_pages(const ConvertOptions& options, Document& doc, const std::vector<int32_t>& pages);

}  // namespace vell
