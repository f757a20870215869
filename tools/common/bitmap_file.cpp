#include "bitmap_file.h"

#include <cstdlib>

namespace vell {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;

// Blue, green, red of one pixel, in the order a 24-bit row stores them.
struct Bgr {
    uint8_t b, g, r;
};

Bgr from_colourref(uint32_t c) { return Bgr{uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)}; }

Bgr pixel(BitmapPattern pattern, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
    switch (pattern) {
    case BitmapPattern::kGradient:
        return Bgr{128, uint8_t(h > 1 ? y * 255 / (h - 1) : 0), uint8_t(w > 1 ? x * 255 / (w - 1) : 0)};
    case BitmapPattern::kChecker:
        return ((x / 8) + (y / 8)) % 2 ? Bgr{255, 255, 255} : from_colourref(colour);
    case BitmapPattern::kSolid:
        break;
    }
    return from_colourref(colour);
}

}  // namespace

Bytes make_bitmap(int32_t width, int32_t height, BitmapPattern pattern, uint32_t colour) {
    if (width < 1 || height < 1 || width > kMaxGeneratedBitmapSide || height > kMaxGeneratedBitmapSide)
        return Bytes();
    const size_t row = (size_t(width) * 3 + 3) / 4 * 4;
    const size_t image = row * size_t(height);
    Bytes b;
    b.reserve(kFileHeaderSize + kInfoHeaderSize + image);
    append_text(b, "BM");
    append_u32(b, uint32_t(kFileHeaderSize + kInfoHeaderSize + image));
    append_u32(b, 0);  // two reserved words
    append_u32(b, uint32_t(kFileHeaderSize + kInfoHeaderSize));
    append_u32(b, uint32_t(kInfoHeaderSize));
    append_i32(b, width);
    append_i32(b, height);  // positive: rows stored bottom-up
    append_i16(b, 1);       // planes
    append_i16(b, 24);      // bits per pixel
    append_u32(b, 0);       // BI_RGB
    append_u32(b, uint32_t(image));
    append_i32(b, 2835);  // 72 dots per inch, in pixels per metre
    append_i32(b, 2835);
    append_u32(b, 0);  // colours used
    append_u32(b, 0);  // important colours
    for (int32_t y = height - 1; y >= 0; --y) {
        size_t start = b.size();
        for (int32_t x = 0; x < width; ++x) {
            Bgr p = pixel(pattern, x, y, width, height, colour);
            b.push_back(p.b);
            b.push_back(p.g);
            b.push_back(p.r);
        }
        b.resize(start + row, 0);
    }
    return b;
}

bool looks_like_bitmap(const Bytes& file) {
    return file.size() >= 2 && file[0] == 'B' && file[1] == 'M';
}

std::string describe_bitmap(const Bytes& file) {
    if (!looks_like_bitmap(file)) return "not a Windows bitmap: it does not start with \"BM\"";
    if (file.size() < kFileHeaderSize + 16) return "not a Windows bitmap: its headers are cut off";
    uint32_t info_size = get_u32(file, kFileHeaderSize);
    int32_t width, height, bits;
    if (info_size == 12) {  // the old core header: 16-bit sizes
        width = get_i16(file, kFileHeaderSize + 4);
        height = get_i16(file, kFileHeaderSize + 6);
        bits = get_i16(file, kFileHeaderSize + 10);
    } else {
        width = get_i32(file, kFileHeaderSize + 4);
        height = get_i32(file, kFileHeaderSize + 8);
        bits = get_i16(file, kFileHeaderSize + 14);
    }
    return std::to_string(width) + " x " + std::to_string(std::abs(int64_t(height))) + ", " +
           std::to_string(bits) + " bits per pixel";
}

}  // namespace vell
