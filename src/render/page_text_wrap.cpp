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

// The last of the candidates first..last (inclusive) that fits, when
// first is known to fit; fits must hold up to some candidate and fail
// after it, as widths grow with the text. Galloping outwards and then
// halving keeps every measured run within twice the line it finds, so a
// line costs its length times a logarithm, never the rest of the text.
template <typename Fits>
size_t last_that_fits(size_t first, size_t last, Fits fits) {
    size_t low = first, step = 1;
    while (step <= last - low && fits(low + step)) {
        low += step;
        step *= 2;
    }
    size_t high = step <= last - low ? low + step : last + 1;  // fails, or past the end
    while (high - low > 1) {
        const size_t mid = low + (high - low) / 2;
        if (fits(mid))
            low = mid;
        else
            high = mid;
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
    // Where each word ends; the blanks before a word go with it.
    std::vector<size_t> ends;
    for (size_t at = start; at < end;) {
        while (at < end && t[at] == ' ') ++at;
        while (at < end && t[at] != ' ') ++at;
        ends.push_back(at);
    }
    size_t word = 0;  // the first word that ends after the line's start
    size_t line = start;
    while (line < end) {
        while (ends[word] <= line) ++word;
        // The characters of the first word that fit, at least one: when
        // not all of them do, the word is broken between characters.
        size_t fits = last_that_fits(line + 1, ends[word], [&](size_t at) {
            return m.width_of(line, at) <= width;
        });
        // Else whole words while they fit.
        if (fits == ends[word]) {
            fits = ends[last_that_fits(word, ends.size() - 1, [&](size_t k) {
                return m.width_of(line, ends[k]) <= width;
            })];
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
