#include "page_image_win.h"

namespace vell {

PageImage::PageImage(int width, int height) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    if (!dc_ || width <= 0 || height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 is the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_) return;
    bits_ = static_cast<uint8_t*>(bits);
    stride_ = size_t((width * 3 + 3) / 4 * 4);
    previous_ = SelectObject(dc_, bitmap_);
    clear();
}

PageImage::~PageImage() {
    if (dc_ && previous_) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
}

void PageImage::clear() {
    if (ok()) PatBlt(dc_, 0, 0, width_, height_, WHITENESS);
    GdiFlush();
}

PixelRows PageImage::rows() const {
    GdiFlush();
    return PixelRows{bits_, width_, height_, stride_};
}

uint32_t PageImage::pixel(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFFFF;
    const uint8_t* p = bits_ + size_t(y) * stride_ + size_t(x) * 3;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

}  // namespace vell
