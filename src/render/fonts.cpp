#include "render/fonts.h"

#include "document/text.h"
#include "render/units.h"

namespace vell {

LogFont make_logfont(const std::string& face, int16_t style, double size, int16_t angle,
                     int logpixels_y) {
    LogFont font;
    font.height = font_height(size, logpixels_y);
    font.width = 0;
    font.escapement = 10 * int32_t(angle);
    font.orientation = 10 * int32_t(angle);
    font.weight = (style & font_style::kBold) ? gdi::kFwBold : gdi::kFwNormal;
    font.italic = (style & font_style::kItalic) ? 1 : 0;
    font.underline = (style & font_style::kUnderline) ? 1 : 0;
    font.strike_out = (style & font_style::kStrikeOut) ? 1 : 0;
    font.char_set = 0;        // ANSI_CHARSET
    font.out_precision = 0;   // OUT_DEFAULT_PRECIS
    font.clip_precision = 0;  // CLIP_DEFAULT_PRECIS
    font.quality = gdi::kProofQuality;
    font.pitch_and_family = 0;  // DEFAULT_PITCH | FF_DONTCARE
    // The face is what precedes its first NUL: blanks before that NUL are
    // trailing blanks too ("Arial  " followed by a NUL and junk is Arial).
    copy_to_buffer(font.face_name, sizeof font.face_name, trim(cut_text(face, face.size())));
    return font;
}

SurfaceHandle make_font(Surface& surface, const std::string& face, int16_t style, double size,
                        int16_t angle) {
    int logpixels_y = surface.device_caps(gdi::kLogPixelsY);
    return surface.create_font_indirect(make_logfont(face, style, size, angle, logpixels_y));
}

SurfaceHandle make_screen_font(Surface& surface, const std::string& face, int16_t style,
                               double size) {
    int logpixels_y = surface.desktop_resolution().y;
    return surface.create_font_indirect(make_logfont(face, style, size, 0, logpixels_y));
}

}  // namespace vell
