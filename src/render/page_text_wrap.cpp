// Line breaking of wrapped texts, as DrawTextExA does it with
// DT_WORDBREAK | DT_EDITCONTROL, measured on the surface that shows them.
#include <cstdint>
#include <string>
#include <vector>

#include "render/page_text.h"

namespace vell {

namespace {

bool is_line_break(char c) { return c == '\r' || c == '\n'; }

struct Measurer {
    Surface& surface;
    const std::string& text;
    int width_of(size_t start, size_t end) const {
        return surface.text_extent(text.data() + start, int(end - start)).cx;
    }
};

// The end of the longest run of characters from start, at least one, that
// fits the width; widths grow with the run, so halving finds it.
size_t characters_that_fit(const Measurer& m, size_t start, size_t end, int width) {
    size_t low = start + 1, high = end;  // low always taken
    while (low < high) {
        const size_t mid = low + (high - low + 1) / 2;
        if (m.width_of(start, mid) <= width)
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

// Breaks one paragraph (no line breaks inside) into lines.
void wrap_paragraph(const Measurer& m, size_t start, size_t end, int width,
                    std::vector<TextLine>& lines) {
    if (start == end) {
        lines.push_back(TextLine{start, 0});
        return;
    }
    const std::string& t = m.text;
    size_t line = start;
    while (line < end) {
        // Whole words while they fit; the blanks before a word go with it.
        size_t fits = line;
        size_t at = line;
        while (at < end) {
            size_t word = at;
            while (word < end && t[word] == ' ') ++word;
            while (word < end && t[word] != ' ') ++word;
            if (m.width_of(line, word) > width) break;
            fits = at = word;
        }
        // Not even the first word fits: break it between characters.
        if (fits == line) {
            size_t word = line;
            while (word < end && t[word] == ' ') ++word;
            while (word < end && t[word] != ' ') ++word;
            fits = characters_that_fit(m, line, word, width);
        }
        size_t shown = fits;
        while (shown > line && t[shown - 1] == ' ') --shown;
        lines.push_back(TextLine{line, shown - line});
        // The blanks at a break start no line of their own.
        line = fits;
        while (line < end && t[line] == ' ') ++line;
    }
}

}  // namespace

std::vector<TextLine> wrap_text_lines(Surface& surface, const std::string& text, int width) {
    std::vector<TextLine> lines;
    const Measurer m{surface, text};
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && !is_line_break(text[end])) ++end;
        wrap_paragraph(m, start, end, width, lines);
        if (end >= text.size()) break;
        end += (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
        start = end;
    }
    return lines;
}

int wrapped_line_height(const TextMetrics& metrics, unsigned format) {
    return metrics.height + ((format & gdi::kDtExternalLeading) ? metrics.external_leading : 0);
}

bool wrapped_line_is_last(int64_t y, int line_height, int64_t bottom, unsigned format) {
    if (format & gdi::kDtNoClip) return false;
    const int64_t next_line_reach =
        (format & gdi::kDtEditControl) ? 2 * int64_t(line_height) - 1 : line_height;
    return y + next_line_reach > bottom;
}

}  // namespace vell
