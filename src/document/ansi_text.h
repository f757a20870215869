// The document's texts are ANSI bytes in code page 1252; what other
// programs take (cairo, PDF, SVG, the clipboard) is Unicode.
#pragma once

#include <cstdint>
#include <string>

namespace vell {

// The ANSI (code page 1252) character of a byte as a Unicode code point.
uint32_t ansi_to_unicode(uint8_t byte);
// A code point below 0x10000 appended as UTF-8; ANSI text as UTF-8.
void append_utf8(uint32_t code_point, std::string* out);
std::string ansi_to_utf8(const std::string& text);
// ANSI text as UTF-16 code units (every code page 1252 character is one).
std::u16string ansi_to_utf16(const std::string& text);

}  // namespace vell
