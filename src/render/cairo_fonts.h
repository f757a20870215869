// Fonts of the cairo surface: a LOGFONTA resolved through fontconfig (so
// Arial, Times New Roman and Courier New become the metric-compatible
// Liberation faces, as they do under Wine), with the text metrics and the
// character advances computed from the font file the way GDI computes them
// on top of FreeType, so that every measurement the interpreter takes
// places text exactly where GDI would.
#pragma once

#include <cairo.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "document/ansi_text.h"
#include "render/surface.h"

typedef struct FT_LibraryRec_* FT_Library;
typedef struct FT_FaceRec_* FT_Face;

namespace vell {

struct MeasuringFace;

// The font file fontconfig chose for a face name, weight and slant.
struct FontFile {
    std::string path;
    int index = 0;
    std::string family;  // the family found, e.g. "Liberation Sans"
};
FontFile resolve_font_file(const std::string& face, bool bold, bool italic);

// One font at one pixel size: what a font handle of the surface stands for.
struct CairoFont {
    LogFont logfont;
    cairo_font_face_t* face = nullptr;  // owned by the font cache
    int ppem = 0;                       // em size in device pixels
    double angle = 0;                   // escapement in radians, counterclockwise
    TextMetrics metrics;
    int underline_position = 0;   // pixels below the baseline
    int underline_thickness = 1;
    int strikeout_position = 0;   // pixels above the baseline
    int strikeout_thickness = 1;
    std::array<uint32_t, 256> glyphs{};    // glyph index per ANSI byte
    // How GDI draws the font at its size, as the font's grid-fitting table
    // asks: smoothed (greyscale) or black and white, hinted or not.
    bool smooth = false;
    bool hinted = true;
    std::array<int32_t, 256> advances{};   // measured pixels per ANSI byte; -1 until known
    std::array<int32_t, 256> drawn_advances{};  // pixels a drawn glyph steps; -1 until known
    std::array<int32_t, 256> outline_advances{};  // unhinted, 16.16 pixels; -1 until known
    MeasuringFace* measuring = nullptr;    // owned by the font cache
};

// Every face and font the surface has used, kept for its whole life:
// fontconfig and FreeType are asked once per face and once per size.
class FontCache {
public:
    FontCache();
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // The font a LOGFONTA describes; null when no font file could be used.
    CairoFont* font(const LogFont& logfont);

private:
    MeasuringFace* face(const std::string& name, bool bold, bool italic);
    bool build(CairoFont* font, MeasuringFace& face);

    FT_Library library_ = nullptr;
    std::map<std::string, std::unique_ptr<MeasuringFace>> faces_;
    std::map<std::string, std::unique_ptr<CairoFont>> fonts_;
};

// The advance of an ANSI character in whole pixels, as GDI measures it:
// from the glyph hinted as for smoothed text.
int font_advance(CairoFont& font, uint8_t character);
// The step from one drawn glyph to the next, as GDI draws page text: from
// the glyph as drawn (for black and white text hinted for black and white,
// which may differ from what GDI measures by a pixel).
int font_drawn_advance(CairoFont& font, uint8_t character);
// The advance of the glyph's outline, unhinted, in 16.16 pixels: where a
// scalable page (PDF) puts the next glyph, as the embedded font itself
// would, so the file needs no correction per glyph.
int32_t font_outline_advance(CairoFont& font, uint8_t character);
// GetTextExtentPoint32A: the sum of the advances by the font's height;
// with outline advances, their sum rounded to whole pixels.
SurfaceSize font_extent(CairoFont& font, const char* text, int count, bool outline = false);

}  // namespace vell
