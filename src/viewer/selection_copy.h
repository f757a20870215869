// Copying a selection, the portable part: the selected texts laid out in
// lines and cells, as plain text and as the clipboard's "HTML Format".
//
// Lines come in reading order. On a line, two texts further apart than
// about two blanks stand in different columns: plain text separates them
// by a tab, the HTML table puts them in cells of their own, so a report's
// table pastes into a spreadsheet as rows and cells. Cells keep their
// columns: a row with an empty cell gets an empty cell there.
#pragma once

#include <string>
#include <vector>

#include "render/page_text.h"
#include "viewer/selection.h"

namespace vell {

// One line's cells, each the ANSI text of one or more selected parts.
using CopiedLine = std::vector<std::string>;

std::vector<CopiedLine> selection_lines(const PageText& page, const std::vector<TextPart>& parts);

// Cells separated by tabs, lines by CR LF; ANSI, as CF_TEXT takes it.
std::string lines_as_text(const std::vector<CopiedLine>& lines);

// The clipboard's "HTML Format": its description header, then a page
// whose fragment is a table of one row a line and one cell a column, in
// UTF-8.
std::string lines_as_clipboard_html(const std::vector<CopiedLine>& lines);

}  // namespace vell
