// Decoding of page records: one record at a time from a page's bytes.
//
// The decoder is shared by the page interpreter and the document inspector,
// so both read a page the same way. It never reads outside the page bytes
// and never moves backwards: a record whose operand block is cut off by the
// end of the page, or that declares a negative length, ends the page there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vell {

// Size of the operand block that follows each opcode; -1 for unknown opcodes.
int operand_block_size(int16_t opcode);

// Texts are drawn cut at their first NUL and at this many characters.
constexpr size_t kMaxDrawnText = 3999;

// decode_record resets every field before it decodes (records.cpp, reset):
// a field added here is reset there too.
struct PageRecord {
    int16_t opcode = 0;
    size_t offset = 0;  // where the opcode stands in the page bytes
    size_t next = 0;    // where the record after this one starts

    // Operands; which ones a record uses depends on its opcode:
    //   2 aligned text, 3 rotated text, 4/10 page number/total: x1 = x, y1 = y
    //   5 line, 6 box, 8/12 pictures: (x1, y1)-(x2, y2)
    //   17 wrapped text: x1 = left, y1 = top, x2 = right, y2 = bottom
    //   16 boxed text: x1 = x, y1 = y, width
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    float width = 0;       // line width, border width, boxed text width (points / inches)
    float size = 0;        // font size in points
    int16_t alignment = 0;
    int16_t angle = 0;
    int16_t style = 0;     // font style bits
    int16_t label = 0;     // window label number
    int16_t reserved = 0;  // reserved word of lines and boxes
    uint32_t colour = 0;   // line colour, font colour
    uint32_t fill_colour = 0;    // box fill
    uint32_t border_colour = 0;  // box border
    int32_t declared_length = 0; // length or size field as stored

    // Bytes that follow the operand block: text, face name, path, label text
    // or bitmap file. Only the bytes the page really has.
    std::string data;
    // Settings records: their six texts.
    std::vector<std::string> settings_texts;
    // The trailing data ran past the end of the page: the record uses what
    // is there and the page ends after it.
    bool cut_short = false;
};

enum class Decoded {
    kRecord,         // a record to perform; see PageRecord::cut_short
    kEndOfPage,      // opcode 1 or 9, or the bytes simply ended
    kUnknownOpcode,  // the page ends here; the viewer may tell the user
    kMalformed,      // operand block cut off or negative length: ends the page
};

// Decodes the record at offset (12 for a page's first record).
Decoded decode_record(const uint8_t* page, size_t size, size_t offset, PageRecord* record);

// A text as it is drawn: cut at its first NUL byte and at 3999 characters.
std::string drawn_text(const std::string& text);

}  // namespace vell
