// Line breaking of wrapped text as DrawTextExA breaks it with
// DT_WORDBREAK | DT_EDITCONTROL: lines end at carriage returns and line
// feeds, and a line too wide for the rectangle ends at the last blank
// before the character that does not fit; a word wider than the whole line
// is broken inside, after at least one character. Portable, so that any
// surface that has no DrawTextExA of its own places lines as GDI does.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace vell {

struct WrappedLine {
    size_t start = 0;   // first byte of the line in the text
    size_t length = 0;  // bytes drawn (trailing blanks before a break dropped)
};

// width_of(text, start, count): the width of count characters from start,
// as GetTextExtentPoint32A measures them on the device.
using TextWidth = std::function<int(const char* text, size_t count)>;

// The lines of text for a rectangle width in device pixels.
std::vector<WrappedLine> wrap_lines(const std::string& text, int width, const TextWidth& width_of);

}  // namespace vell
