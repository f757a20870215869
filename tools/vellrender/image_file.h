// Picture files of a rendered page: 24-bit Windows bitmaps and PNG images,
// written from rows of blue-green-red pixels, top row first, with the
// resolution the page was drawn at.
#pragma once

#include <cstddef>
#include <cstdint>

#include "document/bytes.h"

namespace vell {

struct PixelRows {
    const uint8_t* top = nullptr;  // first byte of the top row
    int width = 0;
    int height = 0;
    size_t stride = 0;  // bytes from one row to the next
};

// A BITMAPFILEHEADER, a BITMAPINFOHEADER and the rows bottom-up, each
// padded to 4 bytes: what LoadImageA and every viewer read.
Bytes encode_bmp(const PixelRows& rows, int dpi_x, int dpi_y);

// A compressed 8-bit RGB PNG made by the Windows Imaging Component
// (png_file_win.cpp), the resolution in its pHYs chunk; empty when the
// component fails.
Bytes encode_png(const PixelRows& rows, int dpi_x, int dpi_y);

}  // namespace vell
