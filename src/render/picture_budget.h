// The pixel budget of a page's pictures. A bitmap's header can claim
// gigapixels in a few bytes, and every path that draws it (the screen, the
// printer, vellconvert) would allocate them. Each page may load at most
// kPagePictureBudget pixels of pictures; a picture that would go beyond
// what is left is drawn from a reduced copy of itself instead, made by
// reading only the source pixels the copy keeps, and the user is told once.
#pragma once

#include <cstdint>
#include <string>

#include "document/file_io.h"

namespace vell {

// 16 million pixels: a letter page scanned at 400 dots per inch, 64 MiB
// as a 32-bit bitmap.
constexpr uint64_t kPagePictureBudget = 16u << 20;

// What is left of one page's budget.
struct PictureBudget {
    uint64_t left = kPagePictureBudget;
};

// What a bitmap file's headers say about its pixels.
struct BitmapHeader {
    int64_t width = 0;
    int64_t height = 0;  // rows, always positive
    bool bottom_up = true;
    int bits = 0;               // bits per pixel
    uint32_t compression = 0;   // BI_RGB 0, BI_BITFIELDS 3
    uint32_t bits_offset = 0;   // where the pixels start in the file
    uint32_t palette[256] = {};  // 0x00RRGGBB
    uint32_t masks[3] = {};      // red, green, blue for BI_BITFIELDS
};

// Reads the file and info headers (BITMAPINFOHEADER and its successors, or
// BITMAPCOREHEADER) and the colour table; false when the file is no
// bitmap with a header.
bool read_bitmap_header(const File& file, BitmapHeader* header);

// The pixels a picture of width x height may keep given what is left of
// the budget: all of them when they fit, else a reduced size within half
// of what is left (so the pictures after it still get some) and within
// the drawn pixels, the device pixels it is drawn on (a reduced copy
// needs no more), its proportions kept as far as whole pixels allow.
// Takes them off the budget.
struct ReducedSize {
    int64_t width = 0;
    int64_t height = 0;
    bool reduced = false;
};
ReducedSize take_from_budget(PictureBudget& budget, int64_t width, int64_t height,
                             uint64_t drawn_pixels);

// Writes a 24-bit bitmap file of width x height pixels into out, each pixel
// the source pixel under it (nearest neighbour), reading only the rows and
// pixels it keeps. Uncompressed 1, 4, 8, 16, 24 and 32-bit pixels and
// bit-field masks are read; other layouts give false. Pixels the file
// does not hold read as zero.
bool write_reduced_bitmap(const File& in, const BitmapHeader& header, int64_t width,
                          int64_t height, File* out);

// Tells the user, once per process, that a picture was drawn reduced.
std::string reduced_picture_notice();
struct ReducedPictureNoticeState {
    bool told = false;
};
ReducedPictureNoticeState& reduced_picture_notice_state();

}  // namespace vell
