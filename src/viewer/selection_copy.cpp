#include "viewer/selection_copy.h"

#include <algorithm>

#include "document/ansi_text.h"
#include "render/page_text_chars.h"

namespace vell {

namespace {

// A gap wider than this many blanks starts a new cell.
constexpr double kCellGapBlanks = 2.0;

// The line of every text, as the page-text reader grouped them.
std::vector<int> line_numbers(const PageText& page) {
    std::vector<int> lines(page.items.size(), 0);
    for (size_t l = 0; l < page.lines.size(); ++l)
        for (size_t i = page.lines[l].first; i < page.lines[l].first + page.lines[l].count; ++i)
            if (i < lines.size()) lines[i] = int(l);
    return lines;
}

// A selected part without its blanks at both ends, and where it lies.
struct Piece {
    int line = 0;
    std::string text;
    double left = 0;   // pixels
    double right = 0;
    double blank = 0;  // the width of a blank in its font, pixels
};

bool make_piece(const PageText& page, const TextPart& part, int line, Piece* piece) {
    const PageTextItem& item = page.items[size_t(part.item)];
    size_t first = part.offset, end = std::min(part.offset + part.count, item.text.size());
    while (first < end && item.text[first] == ' ') ++first;
    while (end > first && item.text[end - 1] == ' ') --end;
    if (first == end) return false;
    piece->line = line;
    piece->text = item.text.substr(first, end - first);
    // A tab or line break inside a text would split its cell or its line.
    for (char& c : piece->text)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    const PageRect r = char_span_rect(page, item, first, end - first);
    piece->left = r.left * page.scale_x;
    piece->right = r.right * page.scale_x;
    piece->blank = item.blank_width > 0 ? item.blank_width : item.cell_height / 4.0;
    return true;
}

void append_escaped(const std::string& ansi, std::string* html) {
    for (char c : ansi) {
        switch (c) {
        case '&': *html += "&amp;"; break;
        case '<': *html += "&lt;"; break;
        case '>': *html += "&gt;"; break;
        case '"': *html += "&quot;"; break;
        default: append_utf8(ansi_to_unicode(static_cast<uint8_t>(c)), html);
        }
    }
}

// Ten digits with leading zeros, as the header's offsets are written.
std::string ten_digits(size_t n) {
    const std::string digits = std::to_string(n);
    return std::string(digits.size() < 10 ? 10 - digits.size() : 0, '0') + digits;
}

std::string html_header(size_t start_html, size_t end_html, size_t start_fragment,
                        size_t end_fragment) {
    return "Version:0.9\r\nStartHTML:" + ten_digits(start_html) + "\r\nEndHTML:" +
           ten_digits(end_html) + "\r\nStartFragment:" + ten_digits(start_fragment) +
           "\r\nEndFragment:" + ten_digits(end_fragment) + "\r\n";
}

// A cell and where it lies across the page, in pixels.
struct PlacedCell {
    std::string text;
    double left = 0;
    double right = 0;
};
using PlacedLine = std::vector<PlacedCell>;

// The columns of a selection: the stretches across the page its cells
// cover, where cells overlapping one another make one stretch. Only lines
// of two cells or more count; a line of one is a heading or running text.
std::vector<std::pair<double, double>> column_spans(const std::vector<PlacedLine>& lines) {
    std::vector<std::pair<double, double>> cells;
    for (const PlacedLine& line : lines)
        if (line.size() > 1)
            for (const PlacedCell& cell : line) cells.emplace_back(cell.left, cell.right);
    std::sort(cells.begin(), cells.end());
    std::vector<std::pair<double, double>> spans;
    for (const auto& cell : cells) {
        if (!spans.empty() && cell.first < spans.back().second)
            spans.back().second = std::max(spans.back().second, cell.second);
        else
            spans.push_back(cell);
    }
    return spans;
}

// The column a cell stands in: the only stretch it overlaps, or -1.
int column_of(const std::vector<std::pair<double, double>>& spans, const PlacedCell& cell) {
    int found = -1;
    for (size_t c = 0; c < spans.size(); ++c) {
        if (cell.right <= spans[c].first || cell.left >= spans[c].second) continue;
        if (found >= 0) return -1;
        found = int(c);
    }
    return found;
}

std::vector<CopiedLine> texts_of(const std::vector<PlacedLine>& lines) {
    std::vector<CopiedLine> out;
    for (const PlacedLine& line : lines) {
        out.emplace_back();
        for (const PlacedCell& cell : line) out.back().push_back(cell.text);
    }
    return out;
}

// Each cell in its column, with empty cells where a line has nothing, so
// a row with an empty cell keeps its later cells under their headings. A
// line of one text stands in the column it overlaps alone, else the first.
// Where the columns cannot be told apart (two cells of a line in one
// column), the cells stay as each line has them.
std::vector<CopiedLine> in_columns(const std::vector<PlacedLine>& lines) {
    const std::vector<std::pair<double, double>> spans = column_spans(lines);
    std::vector<CopiedLine> out;
    for (const PlacedLine& line : lines) {
        CopiedLine cells;
        for (const PlacedCell& cell : line) {
            const int column = column_of(spans, cell);
            if (line.size() > 1 && column < int(cells.size())) return texts_of(lines);
            cells.resize(size_t(std::max(column, 0)));
            cells.push_back(cell.text);
        }
        out.push_back(cells);
    }
    return out;
}

}  // namespace

std::vector<CopiedLine> selection_lines(const PageText& page, const std::vector<TextPart>& parts) {
    const std::vector<int> line_of = line_numbers(page);
    std::vector<PlacedLine> lines;
    bool have_previous = false;
    Piece previous;
    for (const TextPart& part : parts) {
        if (part.item < 0 || size_t(part.item) >= page.items.size()) continue;
        Piece piece;
        if (!make_piece(page, part, line_of[size_t(part.item)], &piece)) continue;
        const PlacedCell cell{piece.text, piece.left, piece.right};
        if (!have_previous || piece.line != previous.line) {
            lines.push_back(PlacedLine{cell});
        } else {
            const double gap = piece.left - previous.right;
            const double blank = std::max(piece.blank, previous.blank);
            PlacedCell& last = lines.back().back();
            if (gap > kCellGapBlanks * blank) {
                lines.back().push_back(cell);
            } else {
                last.text += " " + piece.text;
                last.right = std::max(last.right, piece.right);
            }
        }
        previous = piece;
        have_previous = true;
    }
    return in_columns(lines);
}

std::string lines_as_text(const std::vector<CopiedLine>& lines) {
    std::string text;
    for (size_t l = 0; l < lines.size(); ++l) {
        if (l) text += "\r\n";
        for (size_t c = 0; c < lines[l].size(); ++c) {
            if (c) text += '\t';
            text += lines[l][c];
        }
    }
    return text;
}

std::string lines_as_clipboard_html(const std::vector<CopiedLine>& lines) {
    std::string fragment = "<table>";
    for (const CopiedLine& line : lines) {
        fragment += "<tr>";
        for (const std::string& cell : line) {
            fragment += "<td>";
            append_escaped(cell, &fragment);
            fragment += "</td>";
        }
        fragment += "</tr>\r\n";
    }
    fragment += "</table>";

    // The header gives the byte offsets of the page and of the fragment in
    // it; its numbers have a fixed width, so its length is known first.
    const std::string before = "<html><body>\r\n<!--StartFragment-->";
    const std::string after = "<!--EndFragment-->\r\n</body></html>";
    const size_t header_size = html_header(0, 0, 0, 0).size();
    const size_t start_fragment = header_size + before.size();
    const size_t end_fragment = start_fragment + fragment.size();
    const size_t end_html = end_fragment + after.size();
    const std::string header = html_header(header_size, end_html, start_fragment, end_fragment);
    return header + before + fragment + after;
}

}  // namespace vell
