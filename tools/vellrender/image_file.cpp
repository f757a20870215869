#include "image_file.h"

namespace vell {

namespace {

// Pixels per inch as a bitmap stores them: pixels per metre.
int32_t per_metre(int dpi) { return int32_t((int64_t(dpi) * 10000 + 127) / 254); }

}  // namespace

Bytes encode_bmp(const PixelRows& rows, int dpi_x, int dpi_y) {
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
    append_i32(b, per_metre(dpi_x));
    append_i32(b, per_metre(dpi_y));
    append_u32(b, 0);
    append_u32(b, 0);
    for (int y = rows.height - 1; y >= 0; --y) {
        const uint8_t* row = rows.top + size_t(y) * rows.stride;
        b.insert(b.end(), row, row + size_t(rows.width) * 3);
        b.resize(b.size() + (row_bytes - uint32_t(rows.width) * 3), 0);
    }
    return b;
}

}  // namespace vell
