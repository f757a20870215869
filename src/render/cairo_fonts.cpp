#include "render/cairo_fonts.h"

#include <algorithm>

namespace vell {

FontCache::FontCache() : backend_(new_font_backend()) {}

FontCache::~FontCache() = default;

std::shared_ptr<CairoFont> FontCache::font(const LogFont& logfont) {
    return backend_ ? backend_font(*backend_, logfont) : nullptr;
}

size_t FontCache::cached_fonts() const { return backend_ ? backend_cached_fonts(*backend_) : 0; }

SurfaceSize font_extent(CairoFont& font, const char* text, int count) {
    SurfaceSize size{0, font.metrics.height};
    int64_t width = 0;
    for (int i = 0; i < count; ++i) {
        const uint8_t c = static_cast<uint8_t>(text[i]);
        width += font_advance(font, c);
    }
    size.cx = int32_t(std::min<int64_t>(width, INT32_MAX));
    return size;
}

}  // namespace vell
