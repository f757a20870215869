#include "document/ansi_text.h"

namespace vell {

uint32_t ansi_to_unicode(uint8_t byte) {
    // Code page 1252 differs from Latin-1 only in 0x80..0x9F.
    static const uint16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    if (byte >= 0x80 && byte < 0xA0) return high[byte - 0x80];
    return byte;
}

void append_utf8(uint32_t c, std::string* out) {
    if (c < 0x80) {
        *out += char(c);
    } else if (c < 0x800) {
        *out += char(0xC0 | (c >> 6));
        *out += char(0x80 | (c & 0x3F));
    } else {
        *out += char(0xE0 | ((c >> 12) & 0x0F));
        *out += char(0x80 | ((c >> 6) & 0x3F));
        *out += char(0x80 | (c & 0x3F));
    }
}

std::string ansi_to_utf8(const std::string& text) {
    std::string out;
    for (char c : text) append_utf8(ansi_to_unicode(static_cast<uint8_t>(c)), &out);
    return out;
}

std::u16string ansi_to_utf16(const std::string& text) {
    std::u16string out;
    out.reserve(text.size());
    for (char c : text) out += char16_t(ansi_to_unicode(static_cast<uint8_t>(c)));
    return out;
}

}  // namespace vell
