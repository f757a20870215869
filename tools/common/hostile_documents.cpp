#include "hostile_documents.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "vel_writer.h"

namespace vell {

Bytes claimed_bitmap(int width, int height) {
    Bytes b;
    const uint32_t row = (uint32_t(width) * 3 + 3) / 4 * 4;
    append_u8(b, 'B');
    append_u8(b, 'M');
    append_u32(b, 54 + row * uint32_t(height));  // the size the file claims
    append_u32(b, 0);
    append_u32(b, 54);  // pixel data right after the headers
    append_u32(b, 40);  // BITMAPINFOHEADER
    append_i32(b, width);
    append_i32(b, height);
    append_i16(b, 1);
    append_i16(b, 24);
    for (int i = 0; i < 6; ++i) append_u32(b, 0);  // BI_RGB, sizes and colours 0
    for (int i = 0; i < 26; ++i) append_u8(b, uint8_t(0x40 + i));
    return b;
}

namespace {

HostileDocument one_page(const std::string& name, const PageBuilder& page, int copies = 1) {
    DocumentPlan plan;
    plan.title = name;
    for (int n = 0; n < copies; ++n) plan.pages.push_back(page.bytes());
    return HostileDocument{name, write_document(plan)};
}

HostileDocument face_names(int count) {
    PageBuilder page;
    char face[32];
    for (int i = 0; i < count; ++i) {
        std::snprintf(face, sizeof face, "Hostile Face %06d", i);
        page.font(0, 10, 0, face).aligned_text(1, 1 + float(i % 90) / 10, 0, "Text");
    }
    return one_page("faces-" + std::to_string(count), page);
}

HostileDocument font_sizes(int count) {
    PageBuilder page;
    for (int i = 1; i <= count; ++i) {
        page.font(0, float(i) / 10, 0, "Arial");
        if (i % 100 == 0) page.aligned_text(1, 1, 0, "A");
    }
    return one_page("sizes-" + std::to_string(count), page);
}

HostileDocument pictures(const std::string& name, int count, int side) {
    PageBuilder page;
    const Bytes bitmap = claimed_bitmap(side, side);
    for (int i = 0; i < count; ++i)
        page.embedded_picture(0.5f + float(i % 4) * 2, 0.5f + float(i / 4) * 2,
                              2.5f + float(i % 4) * 2, 2.5f + float(i / 4) * 2, bitmap);
    return one_page(name, page);
}

// Wrapped texts of 4,000 characters: in a box wider than any line, so
// one line holds the whole text; or as one word with no blank to break at.
HostileDocument wrapped(const std::string& name, bool one_word) {
    std::string text;
    while (text.size() < 4000) text += one_word ? "abcdefghij" : "lorem ipsum dolor sit amet ";
    text.resize(4000);
    PageBuilder page;
    for (int i = 0; i < 250; ++i) {
        const float top = 0.5f + float(i % 40) / 4;
        if (one_word)
            page.wrapped_text(1, top, 7.5f, 10.5f, text);
        else
            page.wrapped_text(1, top, 100000, 10.5f, text);
    }
    return one_page(name, page);
}

// Every record that takes a position or a size, at the values a float can
// hold beyond any page: the extremes, infinity and not-a-number.
HostileDocument extreme_values() {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float big = std::numeric_limits<float>::max();
    const float values[] = {1e30f, -1e30f, big, -big, inf, -inf, nan, 3e9f, -3e9f};
    const Bytes bitmap = claimed_bitmap(2, 2);
    PageBuilder page;
    page.font(1, 12, 0x000080, "Arial");
    for (float v : values) {
        page.box(-v, -v, v, v, 2, 0xE0E0E0, 0);
        page.box(1, 1, v, 2, v, 0xC0C0FF, 0x0000FF);
        page.line(v, 1, 4, v, 1, 0xFF0000);
        page.line(1, 1, 4, 4, v, 0x00FF00);
        page.aligned_text(v, v, 2, "aligned");
        page.rotated_text(v, 2, 45, "rotated");
        page.page_number(v, v, 1, 0);
        page.page_total(3, v, 2, 90);
        page.boxed_text(v, 3, v, 1, "boxed");
        page.wrapped_text(v, 4, -v, v, "wrapped text at the edge of the number line");
        page.wrapped_text(1, 4, v, 5, "wrapped text at the edge of the number line");
        page.embedded_picture(v, v, -v, v, bitmap);
        page.embedded_picture(1, 1, v, v, bitmap);
        page.font(2, v, 0, "Arial").aligned_text(1, 6, 0, "sized");
    }
    return one_page("extreme-values", page);
}

}  // namespace

std::vector<HostileDocument> hostile_documents(bool small) {
    std::vector<HostileDocument> set;
    // Three pages each, for a viewer to page through: a page drawn again
    // after another is where a runaway width once broke the heap.
    set.push_back(one_page("line-width-1e6", PageBuilder().line(1, 1, 7, 9, 1e6f, 0xFF), 3));
    set.push_back(one_page("box-border-1e6", PageBuilder().box(1, 1, 7, 9, 1e6f, 0xFF00, 0xFF), 3));
    set.push_back(extreme_values());
    set.push_back(pictures("picture-20000", 1, 20000));
    set.push_back(pictures("pictures-8x8192", 8, 8192));
    if (small) return set;
    set.push_back(face_names(5000));
    set.push_back(face_names(20000));
    set.push_back(font_sizes(400000));
    set.push_back(wrapped("wrapped-wide", false));
    set.push_back(wrapped("wrapped-one-word", true));
    return set;
}

}  // namespace vell
