#include "render/picture_budget.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "document/bytes.h"

namespace vell {

namespace {

constexpr uint32_t kBiRgb = 0, kBiBitfields = 3;
constexpr size_t kFileHeader = 14;

uint32_t u32_at(const uint8_t* b, size_t size, size_t at) { return get_u32(b, size, at); }

// The colour a pixel value has under a mask, as 8 bits.
uint32_t masked(uint32_t value, uint32_t mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const uint64_t top = uint64_t(mask >> shift);
    return uint32_t(uint64_t((value & mask) >> shift) * 255 / top);
}

// Reads bytes of a file through a window, so that pixels next to each
// other cost one read; bytes past the file's end are zeros, unread.
class WindowReader {
public:
    explicit WindowReader(const File& file) : file_(file), size_(file.size()), window_(1 << 16) {}
    uint8_t byte(uint64_t at) {
        if (at >= uint64_t(std::max<int64_t>(size_, 0))) return 0;
        if (at < start_ || at >= start_ + window_.size()) {
            start_ = at;
            file_.read_at(int64_t(at), window_.data(), window_.size());
        }
        return window_[size_t(at - start_)];
    }

private:
    const File& file_;
    int64_t size_;
    std::vector<uint8_t> window_;
    uint64_t start_ = UINT64_MAX / 2;
};

bool readable_layout(const BitmapHeader& h) {
    if (h.compression == kBiBitfields) return h.bits == 16 || h.bits == 32;
    return h.compression == kBiRgb &&
           (h.bits == 1 || h.bits == 4 || h.bits == 8 || h.bits == 16 || h.bits == 24 || h.bits == 32);
}

// The 0x00RRGGBB colour of source pixel x of the row that starts at row.
uint32_t pixel(WindowReader& in, const BitmapHeader& h, uint64_t row, uint64_t x) {
    const uint64_t bit = x * uint64_t(h.bits);
    const uint64_t at = row + bit / 8;
    if (h.bits < 8) {
        const int shift = 8 - h.bits - int(bit % 8);
        return h.palette[(in.byte(at) >> shift) & ((1 << h.bits) - 1)];
    }
    if (h.bits == 8) return h.palette[in.byte(at)];
    if (h.bits == 24) return uint32_t(in.byte(at + 2)) << 16 | uint32_t(in.byte(at + 1)) << 8 | in.byte(at);
    uint32_t value = uint32_t(in.byte(at)) | uint32_t(in.byte(at + 1)) << 8;
    if (h.bits == 32) value |= uint32_t(in.byte(at + 2)) << 16 | uint32_t(in.byte(at + 3)) << 24;
    return masked(value, h.masks[0]) << 16 | masked(value, h.masks[1]) << 8 | masked(value, h.masks[2]);
}

}  // namespace

bool read_bitmap_header(const File& file, BitmapHeader* h) {
    uint8_t b[kFileHeader + 64] = {};
    file.read_at(0, b, sizeof b);
    if (b[0] != 'B' || b[1] != 'M') return false;
    const size_t n = sizeof b;
    h->bits_offset = u32_at(b, n, 10);
    const uint32_t info = u32_at(b, n, 14);
    size_t palette_at = kFileHeader + info;
    size_t entry = 4;
    uint32_t colours = 0;
    if (info == 12) {  // BITMAPCOREHEADER
        h->width = get_u16(b, n, 18);
        h->height = get_u16(b, n, 20);
        h->bits = get_u16(b, n, 24);
        h->compression = kBiRgb;
        entry = 3;
    } else if (info >= 40) {
        h->width = get_i32(b, n, 18);
        const int64_t height = get_i32(b, n, 22);
        h->bottom_up = height > 0;
        h->height = height < 0 ? -height : height;
        h->bits = get_u16(b, n, 28);
        h->compression = u32_at(b, n, 30);
        colours = u32_at(b, n, 46);
        if (h->compression == kBiBitfields) {
            // The masks close a version 2 header or follow a plain one.
            uint8_t m[12] = {};
            file.read_at(int64_t(kFileHeader) + 40, m, sizeof m);
            for (int i = 0; i < 3; ++i) h->masks[i] = get_u32(m, sizeof m, size_t(i) * 4);
            if (info == 40) palette_at += 12;
        }
    } else {
        return false;
    }
    if (h->width <= 0 || h->height <= 0) return false;
    if (h->compression == kBiRgb && h->bits == 16) {
        h->masks[0] = 0x7C00, h->masks[1] = 0x03E0, h->masks[2] = 0x001F;
    } else if (h->compression == kBiRgb && h->bits == 32) {
        h->masks[0] = 0xFF0000, h->masks[1] = 0xFF00, h->masks[2] = 0xFF;
    }
    if (h->bits >= 1 && h->bits <= 8) {
        const uint32_t count = colours && colours < 256 ? colours : 1u << h->bits;
        std::vector<uint8_t> table(size_t(count) * entry);
        file.read_at(int64_t(palette_at), table.data(), table.size());
        for (uint32_t i = 0; i < count && i < 256; ++i) {
            const uint8_t* e = &table[size_t(i) * entry];
            h->palette[i] = uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0];
        }
    }
    return true;
}

ReducedSize take_from_budget(PictureBudget& budget, int64_t width, int64_t height,
                             uint64_t drawn_pixels) {
    const uint64_t pixels = uint64_t(width) * uint64_t(height);
    if (pixels <= budget.left) {
        budget.left -= pixels;
        return ReducedSize{width, height, false};
    }
    const uint64_t target = std::max<uint64_t>(std::min(budget.left / 2, drawn_pixels), 1);
    const double scale = std::sqrt(double(target) / double(pixels));
    ReducedSize size{std::clamp<int64_t>(int64_t(double(width) * scale), 1, width),
                     std::clamp<int64_t>(int64_t(double(height) * scale), 1, height), true};
    // A picture of one row (or column) keeps what it can across.
    if (uint64_t(size.width) * uint64_t(size.height) > target) {
        size.height = std::min<int64_t>(size.height, int64_t(target));
        size.width = std::max<int64_t>(1, int64_t(target / uint64_t(size.height)));
    }
    budget.left -= std::min<uint64_t>(budget.left, uint64_t(size.width) * uint64_t(size.height));
    return size;
}

bool write_reduced_bitmap(const File& in, const BitmapHeader& h, int64_t width, int64_t height,
                          File* out) {
    if (!readable_layout(h) || width <= 0 || height <= 0) return false;
    const uint64_t row_bytes = (uint64_t(width) * 3 + 3) / 4 * 4;
    Bytes head;
    append_u8(head, 'B');
    append_u8(head, 'M');
    append_u32(head, uint32_t(std::min<uint64_t>(54 + row_bytes * uint64_t(height), UINT32_MAX)));
    append_u32(head, 0);
    append_u32(head, 54);
    append_u32(head, 40);
    append_i32(head, int32_t(width));
    append_i32(head, int32_t(height));  // bottom-up
    append_i16(head, 1);
    append_i16(head, 24);
    for (int i = 0; i < 6; ++i) append_u32(head, 0);
    if (!out->write_at(0, head.data(), head.size())) return false;

    const uint64_t stride = (uint64_t(h.width) * uint64_t(h.bits) + 31) / 32 * 4;
    WindowReader reader(in);
    std::vector<uint8_t> row(size_t(row_bytes), 0);
    // Rows go out in writes of about a megabyte: a picture reduced to one
    // pixel across has millions of rows.
    Bytes pending;
    int64_t written = 54;
    auto flush = [&] {
        const bool ok = out->write_at(written, pending.data(), pending.size());
        written += int64_t(pending.size());
        pending.clear();
        return ok;
    };
    for (int64_t line = 0; line < height; ++line) {
        // Output line 0 is the bottom row; the source row under it.
        const int64_t y = height - 1 - line;
        const int64_t source_y = int64_t(uint64_t(y) * uint64_t(h.height) / uint64_t(height));
        const int64_t stored = h.bottom_up ? h.height - 1 - source_y : source_y;
        // A row beyond what any file can hold is all zeros.
        const double start = double(h.bits_offset) + double(stored) * double(stride);
        const bool beyond = start > 9e18;
        const uint64_t row_start = beyond ? 0 : uint64_t(h.bits_offset) + uint64_t(stored) * stride;
        for (int64_t x = 0; x < width; ++x) {
            const uint64_t source_x = uint64_t(x) * uint64_t(h.width) / uint64_t(width);
            const uint32_t c = beyond ? 0 : pixel(reader, h, row_start, source_x);
            row[size_t(x) * 3] = uint8_t(c);
            row[size_t(x) * 3 + 1] = uint8_t(c >> 8);
            row[size_t(x) * 3 + 2] = uint8_t(c >> 16);
        }
        pending.insert(pending.end(), row.begin(), row.end());
        if (pending.size() >= (1u << 20) && !flush()) return false;
    }
    return flush();
}

std::string reduced_picture_notice() {
    return "A picture in this document has more pixels than vell draws on one page. "
           "It is shown at a lower resolution.";
}

ReducedPictureNoticeState& reduced_picture_notice_state() {
    static ReducedPictureNoticeState state;
    return state;
}

}  // namespace vell
