#include "render/word_wrap.h"

namespace vell {

namespace {

bool is_break(char c) { return c == '\r' || c == '\n'; }

// How many characters of text[0..count) fit into width: the longest prefix
// whose extent is at most width. Widths only grow with the prefix, so a
// binary search over the prefix lengths finds it.
size_t chars_fitting(const char* text, size_t count, int width, const TextWidth& width_of) {
    size_t low = 0, high = count;
    while (low < high) {
        const size_t mid = (low + high + 1) / 2;
        if (width_of(text, mid) <= width)
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

// One line out of a segment that does not fit: where the line ends and
// where the next one starts (both relative to the segment).
void break_line(const char* s, size_t fit, size_t* line_length, size_t* used) {
    // Back from the character that does not fit to the blank before it.
    size_t p = fit;
    bool word_fits = true;
    if (fit == 0) {
        // Nothing fits: the first character is taken anyway.
    } else if (s[p] == ' ') {
        // The word just fitted; p stands on the blank after it.
    } else {
        while (p > 0 && s[--p] != ' ') {
        }
        word_fits = p != 0 || s[0] == ' ';
    }
    if (!word_fits) {
        // A word wider than the line: it is broken where it stops fitting.
        *line_length = *used = fit;
        return;
    }
    if (s[p] != ' ') ++p;
    const bool next_is_space = s[p] == ' ';
    // Blanks before the break are not drawn; one blank after it is dropped.
    while (p > 0 && s[p - 1] == ' ') --p;
    *line_length = p;
    *used = p + (next_is_space ? 1 : 0);
    if (*used == 0) *used = 1;  // always progress
}

}  // namespace

std::vector<WrappedLine> wrap_lines(const std::string& text, int width, const TextWidth& width_of) {
    std::vector<WrappedLine> lines;
    size_t at = 0;
    const size_t n = text.size();
    while (at < n) {
        // The segment up to the next hard break.
        size_t end = at;
        while (end < n && !is_break(text[end])) ++end;
        const char* s = text.data() + at;
        const size_t count = end - at;
        const size_t fit = count == 0 ? 0 : chars_fitting(s, count, width, width_of);
        size_t length = count;
        size_t used = count;
        if (fit < count) break_line(s, fit, &length, &used);
        lines.push_back(WrappedLine{at, length});
        at += used;
        if (at == end && end < n) {
            // CR LF and LF CR count as one break.
            const char first = text[end];
            at = end + 1;
            if (at < n && is_break(text[at]) && text[at] != first) ++at;
            if (at == n) lines.push_back(WrappedLine{at, 0});
        }
    }
    return lines;
}

}  // namespace vell
