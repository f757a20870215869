#include "render/cairo_bitmaps.h"

#include <stb_image.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "render/picture_budget.h"
#include "render/pictures.h"

namespace vell {

namespace {

// A picture larger than a page's whole budget never comes here (a reduced
// copy does, picture_budget.h); these refuse what would slip past it. A
// bitmap file within the budget holds at most 4 bytes a pixel.
constexpr long long kMaxPixels = (long long)kPagePictureBudget;
constexpr long kMaxFileBytes = long(kPagePictureBudget) * 4 + (1l << 20);

bool read_file(const char* path, std::vector<unsigned char>* bytes) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(f) : -1;
    ok = ok && size >= 0 && size <= kMaxFileBytes && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        bytes->resize(size_t(size));
        ok = size == 0 || std::fread(bytes->data(), 1, size_t(size), f) == size_t(size);
    }
    std::fclose(f);
    return ok;
}

uint32_t* row_of(cairo_surface_t* image, int y) {
    unsigned char* data = cairo_image_surface_get_data(image);
    return reinterpret_cast<uint32_t*>(data + size_t(y) * size_t(cairo_image_surface_get_stride(image)));
}

cairo_surface_t* new_image(int width, int height) {
    if (width <= 0 || height <= 0 || (long long)width * height > kMaxPixels) return nullptr;
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        return nullptr;
    }
    cairo_surface_flush(image);
    return image;
}

}  // namespace

cairo_surface_t* load_bitmap_image(const char* path) {
    std::vector<unsigned char> bytes;
    if (!read_file(path, &bytes) || bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M')
        return nullptr;
    int width = 0, height = 0, channels = 0;
    const int length = int(bytes.size());
    if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels)) return nullptr;
    if (width <= 0 || height <= 0 || (long long)width * height > kMaxPixels) return nullptr;
    unsigned char* pixels = stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 3);
    if (!pixels) return nullptr;
    cairo_surface_t* image = new_image(width, height);
    if (image) {
        for (int y = 0; y < height; ++y) {
            uint32_t* out = row_of(image, y);
            const unsigned char* in = pixels + size_t(y) * size_t(width) * 3;
            for (int x = 0; x < width; ++x, in += 3)
                out[x] = uint32_t(in[0]) << 16 | uint32_t(in[1]) << 8 | in[2];
        }
        cairo_surface_mark_dirty(image);
    }
    stbi_image_free(pixels);
    return image;
}

int image_to_dib(cairo_surface_t* image, unsigned start, unsigned lines, void* bits,
                 const DibDescription& d) {
    const int width = cairo_image_surface_get_width(image);
    const int height = cairo_image_surface_get_height(image);
    const int rows = d.height < 0 ? -d.height : d.height;
    if (!bits || d.width != width || rows != height || d.compression != gdi::kBiRgb ||
        (d.bit_count != 24 && d.bit_count != 32))
        return 0;
    cairo_surface_flush(image);
    const size_t stride = dib_row_bytes(width, d.bit_count);
    const int bytes_per_pixel = d.bit_count / 8;
    int copied = 0;
    for (unsigned line = start; line < start + lines && line < unsigned(height); ++line, ++copied) {
        // DIB line 0 is the bottom row of a bottom-up bitmap.
        const int y = d.height > 0 ? height - 1 - int(line) : int(line);
        const uint32_t* in = row_of(image, y);
        unsigned char* out = static_cast<unsigned char*>(bits) + size_t(line - start) * stride;
        std::memset(out, 0, stride);
        for (int x = 0; x < width; ++x, out += bytes_per_pixel) {
            out[0] = uint8_t(in[x]);
            out[1] = uint8_t(in[x] >> 8);
            out[2] = uint8_t(in[x] >> 16);
        }
    }
    return copied;
}

cairo_surface_t* dib_to_image(const void* bits, const DibDescription& d) {
    const int rows = d.height < 0 ? -d.height : d.height;
    if (!bits || d.compression != gdi::kBiRgb || (d.bit_count != 24 && d.bit_count != 32))
        return nullptr;
    cairo_surface_t* image = new_image(d.width, rows);
    if (!image) return nullptr;
    const size_t stride = dib_row_bytes(d.width, d.bit_count);
    const int bytes_per_pixel = d.bit_count / 8;
    for (int line = 0; line < rows; ++line) {
        const int y = d.height > 0 ? rows - 1 - line : line;
        const unsigned char* in = static_cast<const unsigned char*>(bits) + size_t(line) * stride;
        uint32_t* out = row_of(image, y);
        for (int x = 0; x < d.width; ++x, in += bytes_per_pixel)
            out[x] = uint32_t(in[2]) << 16 | uint32_t(in[1]) << 8 | in[0];
    }
    cairo_surface_mark_dirty(image);
    return image;
}

}  // namespace vell
