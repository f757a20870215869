// A page image in memory: a memory device context with a 24-bit
// device-independent bitmap selected, white to begin with. Needs no window
// and no display.
#pragma once

#include <windows.h>

#include <cstdint>

#include "image_file.h"

namespace vell {

class PageImage {
public:
    PageImage(int width, int height);
    ~PageImage();
    PageImage(const PageImage&) = delete;
    PageImage& operator=(const PageImage&) = delete;

    bool ok() const { return bitmap_ != nullptr; }
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Paints the whole image white.
    void clear();
    // The pixels, top row first, after GDI has finished drawing.
    PixelRows rows() const;
    // Blue, green, red of one pixel as 0x00RRGGBB.
    uint32_t pixel(int x, int y) const;

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;  // selected back before the bitmap is deleted
    uint8_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    size_t stride_ = 0;
};

}  // namespace vell
