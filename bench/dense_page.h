// A dense page for rendering benchmarks: about 2,000 records of the kinds a
// busy report has (aligned texts of every alignment, lines, boxes, font
// changes, a few rotated, boxed and wrapped texts and page numbers). Used
// by the native interpreter benchmark and by vellrender's Wine benchmark,
// so both measure the same page.
#pragma once

#include <string>

#include "vel_writer.h"

namespace vell {

inline Bytes dense_page() {
    PageBuilder page(1, 0, 7);
    const char* faces[] = {"Arial", "Times New Roman", "Courier New"};
    const int rows = 340;
    for (int row = 0; row < rows; ++row) {
        const float y = 0.5f + 10.0f * float(row) / rows;
        if (row % 5 == 0)
            page.font(int16_t(row % 4), 7.0f + float(row % 3), uint32_t(row * 0x010203) & 0xFFFFFF,
                      faces[row % 3]);
        page.aligned_text(0.5f, y, 0, "Item " + std::to_string(row));
        page.aligned_text(4.0f, y, 1, "Description of line " + std::to_string(row));
        page.aligned_text(6.5f, y, 3, std::to_string(row * 37) + "." + std::to_string(row % 100));
        page.aligned_text(8.0f, y, 2, std::to_string(row * 11) + " EUR");
        page.line(0.5f, y + 0.03f, 8.0f, y + 0.03f, 0.5f, 0x808080);
        if (row % 2 == 0) page.box(6.6f, y, 6.8f, y + 0.03f, row % 4 == 0 ? -1.0f : 0.5f, 0xE0E0E0, 0);
        if (row % 10 == 0) page.boxed_text(7.0f, y, 1.0f, 2, "Sum " + std::to_string(row));
        if (row % 15 == 0) page.rotated_text(0.2f, y + 0.5f, 90, "Side note " + std::to_string(row));
        if (row % 30 == 0)
            page.wrapped_text(1.0f, y, 3.0f, y + 0.3f, "A longer remark that the device breaks into lines at word boundaries.");
    }
    page.page_number(4.25f, 10.7f, 1, 0).page_total(4.6f, 10.7f, 0, 0).end_of_page();
    return page.bytes();
}

}  // namespace vell
