// The characters of a page's texts, from the geometry the page-text reader
// records when asked (read_page_text with char_geometry): where each
// character's box lies, for selecting part of a text and for showing it.
#pragma once

#include <cstddef>

#include "render/page_text.h"

namespace vell {

// The centre of character k's box, in inches; false when the item has no
// geometry for it.
bool char_centre(const PageText& page, const PageTextItem& item, size_t k, double* x, double* y);

// The rectangle (inches) of count characters from first, within what the
// whole text covers (a boxed text's box cuts it); the item's rectangle when
// it has no geometry.
PageRect char_span_rect(const PageText& page, const PageTextItem& item, size_t first,
                        size_t count);

}  // namespace vell
