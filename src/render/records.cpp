#include "render/records.h"

#include "document/bytes.h"
#include "document/format.h"
#include "document/text.h"

namespace vell {

int operand_block_size(int16_t opcode) {
    switch (opcode) {
    case kOpEndOfPage:
    case kOpEndOfPage2: return 0;
    case kOpAlignedText:
    case kOpRotatedText:
    case kOpPageNumber:
    case kOpPageTotal:
    case kOpFont: return 12;
    case kOpLine: return 26;
    case kOpBox: return 30;
    case kOpPictureFile: return 18;
    case kOpWindowLabel: return 4;
    case kOpEmbeddedPicture:
    case kOpReserved:
    case kOpSettings14:
    case kOpSettings15: return 20;
    case kOpBoxedText: return 16;
    case kOpWrappedText: return 18;
    default: return -1;
    }
}

std::string drawn_text(const std::string& text) { return cut_text(text, kMaxDrawnText); }

namespace {

// Takes up to length bytes at *pos as the record's trailing data, advancing
// *pos by the full declared length; marks the record cut short when the page
// has fewer bytes than declared.
void take(const uint8_t* page, size_t size, size_t* pos, int32_t length, PageRecord* r,
          std::string* out) {
    size_t want = size_t(length);
    size_t have = *pos < size ? size - *pos : 0;
    size_t n = want < have ? want : have;
    out->assign(reinterpret_cast<const char*>(page) + (n ? *pos : 0), n);
    if (n < want) r->cut_short = true;
    *pos += want;
}

// Clears a record for the next decode, keeping the capacity of its texts so
// a page's records do not allocate again and again.
void reset(PageRecord* r) {
    r->opcode = 0;
    r->offset = r->next = 0;
    r->x1 = r->y1 = r->x2 = r->y2 = 0;
    r->width = r->size = 0;
    r->alignment = r->angle = r->style = r->label = r->reserved = 0;
    r->colour = r->fill_colour = r->border_colour = 0;
    r->declared_length = 0;
    r->data.clear();
    r->settings_texts.clear();
    r->cut_short = false;
}

void read_operands(const uint8_t* p, size_t size, size_t at, PageRecord* r) {
    auto f = [&](size_t o) { return get_f32(p, size, at + o); };
    auto i16 = [&](size_t o) { return get_i16(p, size, at + o); };
    auto u32 = [&](size_t o) { return get_u32(p, size, at + o); };
    switch (r->opcode) {
    case kOpAlignedText:
        r->x1 = f(0); r->y1 = f(4); r->alignment = i16(8); r->declared_length = i16(10);
        break;
    case kOpRotatedText:
        r->x1 = f(0); r->y1 = f(4); r->angle = i16(8); r->declared_length = i16(10);
        break;
    case kOpPageNumber:
    case kOpPageTotal:
        r->x1 = f(0); r->y1 = f(4); r->alignment = i16(8); r->angle = i16(10);
        break;
    case kOpLine:
        r->x1 = f(0); r->y1 = f(4); r->x2 = f(8); r->y2 = f(12); r->width = f(16);
        r->reserved = i16(20); r->colour = u32(22);
        break;
    case kOpBox:
        r->x1 = f(0); r->y1 = f(4); r->x2 = f(8); r->y2 = f(12); r->width = f(16);
        r->reserved = i16(20); r->fill_colour = u32(22); r->border_colour = u32(26);
        break;
    case kOpFont:
        r->style = i16(0); r->size = f(2); r->colour = u32(6); r->declared_length = i16(10);
        break;
    case kOpPictureFile:
        r->x1 = f(0); r->y1 = f(4); r->x2 = f(8); r->y2 = f(12); r->declared_length = i16(16);
        break;
    case kOpWindowLabel:
        r->label = i16(0); r->declared_length = i16(2);
        break;
    case kOpEmbeddedPicture:
        r->x1 = f(0); r->y1 = f(4); r->x2 = f(8); r->y2 = f(12); r->declared_length = get_i32(p, size, at + 16);
        break;
    case kOpBoxedText:
        r->x1 = f(0); r->y1 = f(4); r->width = f(8); r->alignment = i16(12); r->declared_length = i16(14);
        break;
    case kOpWrappedText:
        r->x1 = f(0); r->y1 = f(4); r->x2 = f(8); r->y2 = f(12); r->declared_length = i16(16);
        break;
    default:
        break;
    }
}

}  // namespace

Decoded decode_record(const uint8_t* page, size_t size, size_t offset, PageRecord* record) {
    PageRecord& r = *record;
    reset(record);
    r.offset = offset;
    if (offset >= size) return Decoded::kEndOfPage;  // the stream simply stopped
    r.opcode = get_i16(page, size, offset);
    size_t pos = offset + 2;
    r.next = pos;
    if (r.opcode == kOpEndOfPage || r.opcode == kOpEndOfPage2) return Decoded::kEndOfPage;
    if (pos > size) return Decoded::kEndOfPage;
    int block = operand_block_size(r.opcode);
    if (block < 0) return Decoded::kUnknownOpcode;
    if (pos + size_t(block) > size) return Decoded::kMalformed;
    read_operands(page, size, pos, &r);
    pos += size_t(block);

    if (r.opcode == kOpSettings14 || r.opcode == kOpSettings15) {
        // Eight uninterpreted bytes, then six lengths, read from the operand
        // block (not from the moving stream position); an empty text has a
        // length of 0 or less, as in the settings blocks of the header.
        const size_t lengths = pos - 12;
        r.settings_texts.resize(6);
        for (int i = 0; i < 6; ++i) {
            int32_t length = get_i16(page, size, lengths + size_t(2 * i));
            if (length > 0 && !r.cut_short) take(page, size, &pos, length, &r, &r.settings_texts[i]);
        }
    } else if (r.opcode != kOpPageNumber && r.opcode != kOpPageTotal && r.opcode != kOpLine &&
               r.opcode != kOpBox && r.opcode != kOpReserved) {
        if (r.declared_length < 0) return Decoded::kMalformed;
        take(page, size, &pos, r.declared_length, &r, &r.data);
    }
    r.next = pos;
    return Decoded::kRecord;
}

}  // namespace vell
