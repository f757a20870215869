// Fonts of page rendering: the LOGFONTA that every page font is made from,
// make a font on the target device, and make a screen font.
#pragma once

#include <cstdint>
#include <string>

#include "render/surface.h"

namespace vell {

// Style bits of font records; other bits are ignored.
namespace font_style {
constexpr int16_t kBold = 1;
constexpr int16_t kItalic = 2;
constexpr int16_t kUnderline = 4;
constexpr int16_t kStrikeOut = 8;
}  // namespace font_style

// The LOGFONTA of a page font: character height -round(logpixels_y * size
// / 72) (size 0 gives 0, the device's default height), escapement and
// orientation 10 x angle, weight and flags from the style bits, ANSI
// character set, default precisions, proof quality, default pitch, and the
// face name cut at its first NUL, with blanks removed at both ends, cut at
// 31 characters.
LogFont make_logfont(const std::string& face, int16_t style, double size, int16_t angle,
                     int logpixels_y);

// Make a font on the surface's own device: lfHeight from its LOGPIXELSY.
// The caller owns the font and deletes it.
SurfaceHandle make_font(Surface& surface, const std::string& face, int16_t style, double size,
                        int16_t angle);

// Make a screen font: angle 0, sized for the desktop's vertical resolution
// whatever the device the font is later selected into.
SurfaceHandle make_screen_font(Surface& surface, const std::string& face, int16_t style,
                               double size);

}  // namespace vell
