#include "image_file.h"

#include <array>

namespace vell {

Bytes encode_bmp(const PixelRows& rows) {
    const uint32_t row_bytes = uint32_t((rows.width * 3 + 3) / 4 * 4);
    const uint32_t image_bytes = row_bytes * uint32_t(rows.height);
    const uint32_t offset = 14 + 40;
    Bytes b;
    b.reserve(offset + image_bytes);
    append_u8(b, 'B');
    append_u8(b, 'M');
    append_u32(b, offset + image_bytes);
    append_u32(b, 0);
    append_u32(b, offset);
    append_u32(b, 40);
    append_i32(b, rows.width);
    append_i32(b, rows.height);  // positive: bottom-up rows
    append_i16(b, 1);
    append_i16(b, 24);
    append_u32(b, 0);  // BI_RGB
    append_u32(b, image_bytes);
    append_i32(b, 3780);  // 96 pixels per inch
    append_i32(b, 3780);
    append_u32(b, 0);
    append_u32(b, 0);
    for (int y = rows.height - 1; y >= 0; --y) {
        const uint8_t* row = rows.top + size_t(y) * rows.stride;
        b.insert(b.end(), row, row + size_t(rows.width) * 3);
        b.resize(b.size() + (row_bytes - uint32_t(rows.width) * 3), 0);
    }
    return b;
}

namespace {

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void append_u32_be(Bytes& b, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) b.push_back(uint8_t(v >> shift));
}

void append_chunk(Bytes& png, const char type[4], const Bytes& data) {
    append_u32_be(png, uint32_t(data.size()));
    const size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    append_u32_be(png, crc32(png.data() + start, png.size() - start));
}

}  // namespace

Bytes encode_png(const PixelRows& rows) {
    // The filtered image: each row starts with filter type 0 (none) and
    // holds red, green, blue.
    Bytes raw;
    raw.reserve(size_t(rows.height) * (1 + size_t(rows.width) * 3));
    for (int y = 0; y < rows.height; ++y) {
        const uint8_t* row = rows.top + size_t(y) * rows.stride;
        raw.push_back(0);
        for (int x = 0; x < rows.width; ++x) {
            raw.push_back(row[3 * x + 2]);
            raw.push_back(row[3 * x + 1]);
            raw.push_back(row[3 * x]);
        }
    }

    // zlib stream of stored blocks of at most 65535 bytes, then Adler-32.
    Bytes z = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
        const bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(uint8_t(n));
        z.push_back(uint8_t(n >> 8));
        z.push_back(uint8_t(~n));
        z.push_back(uint8_t(~n >> 8));
        z.insert(z.end(), raw.begin() + long(at), raw.begin() + long(at + n));
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    append_u32_be(z, (b << 16) | a);

    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    append_u32_be(header, uint32_t(rows.width));
    append_u32_be(header, uint32_t(rows.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, truecolour, deflate, no filter choice, no interlace
    append_chunk(png, "IHDR", header);
    append_chunk(png, "IDAT", z);
    append_chunk(png, "IEND", Bytes());
    return png;
}

}  // namespace vell
