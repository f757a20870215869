// Pictures for the cairo surface: bitmap files decoded with stb_image into
// cairo images, and device-independent bitmap bits in and out of them.
#pragma once

#include <cairo.h>

#include "render/surface.h"

namespace vell {

// The Windows bitmap file at path as an RGB24 image; null when the file is
// not a bitmap (LoadImageA takes bitmaps only), cannot be read or claims
// more pixels than a page picture may have.
cairo_surface_t* load_bitmap_image(const char* path);

// GetDIBits: lines rows of image from start, in the description's layout
// (24 or 32 bits, bottom-up for a positive height). The description's width
// and height must be the image's. Returns the rows copied.
int image_to_dib(cairo_surface_t* image, unsigned start, unsigned lines, void* bits,
                 const DibDescription& description);

// StretchDIBits' source: the bits as an RGB24 image (top-down); null for a
// layout other than uncompressed 24 or 32 bits or an unreasonable size.
cairo_surface_t* dib_to_image(const void* bits, const DibDescription& description);

}  // namespace vell
