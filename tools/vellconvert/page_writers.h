// The output formats: a PDF of all pages, a PNG or SVG file per page (or
// one for a single page), and text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "options.h"

namespace vell {

struct Document;

// Writes the pages in the options' format; returns an exit status.
int write_pages(const ConvertOptions& options, Document& doc, const std::vector<int32_t>& pages);

}  // namespace vell
