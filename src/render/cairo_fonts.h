// Fonts of the cairo surface: a LOGFONTA made into a cairo font face with
// the text metrics and character advances GDI would give it, so that every
// measurement the interpreter takes places text exactly where GDI would.
// Two font systems stand behind it, one per platform:
// - host builds (cairo_fonts_posix.cpp): fontconfig and FreeType, so Arial,
//   Times New Roman and Courier New become the metric-compatible Liberation
//   faces, as they do under Wine, with metrics computed from the font file
//   the way GDI computes them on top of FreeType;
// - Windows (cairo_fonts_win.cpp): cairo's win32 font backend on the
//   LOGFONT itself, with metrics and advances from GDI on the same font.
#pragma once

#include <cairo.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "document/ansi_text.h"
#include "render/surface.h"

namespace vell {

// What a font system keeps per face for measuring; its own to define.
struct MeasuringFace;
// A font system with its caches of names, faces and fonts.
struct FontBackend;
struct FontBackendDeleter {
    void operator()(FontBackend* backend) const;
};

// The font file fontconfig chose for a face name, weight and slant (host
// builds).
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
    int underline_position = 0;   // its top edge, pixels below the baseline
    int underline_thickness = 1;
    int strikeout_position = 0;   // its top edge, pixels above the baseline
    int strikeout_thickness = 1;
    std::array<uint32_t, 256> glyphs{};    // glyph index per ANSI byte
    // How GDI draws the font at its size, as the font's grid-fitting table
    // asks: smoothed (greyscale) or black and white, hinted or not.
    bool smooth = false;
    bool hinted = true;
    std::array<int32_t, 256> advances{};   // measured pixels per ANSI byte; -1 until known
    std::array<int32_t, 256> drawn_advances{};  // pixels a drawn glyph steps; -1 until known
    MeasuringFace* measuring = nullptr;    // kept alive by face_owner
    std::shared_ptr<MeasuringFace> face_owner;
};

// The faces and fonts the surface uses, kept by the font system and keyed
// by what they are drawn from: on the host the font file and face
// fontconfig resolves a name to, on Windows the LOGFONT's face; and the size
// and style. Many names (or sizes) that come to one file share it. Each of the
// three caches is bounded and forgets its least recently used entry, so a
// page with thousands of face names or sizes costs the memory of a few;
// a font that is forgotten while a handle still holds it lives on in the
// handle (shared ownership) until that is deleted.
class FontCache {
public:
    FontCache();
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // The font a LOGFONTA describes; null when no font file could be used.
    std::shared_ptr<CairoFont> font(const LogFont& logfont);

    // How many entries each cache holds at most.
    static constexpr size_t kNames = 4096, kFaces = 16, kFonts = 256;
    // How many names fontconfig is asked to resolve at most, at about a
    // millisecond each; a page with more names than that gets the face an
    // unknown name gets for the rest, as no real document has so many.
    static constexpr size_t kResolutions = 1024;
    // Fonts the cache holds now.
    size_t cached_fonts() const;

private:
    std::unique_ptr<FontBackend, FontBackendDeleter> backend_;
};

// What each font system provides to the font cache: a new system (null
// when it cannot start), the font a LOGFONTA describes (null when there is
// none) and how many fonts it holds.
FontBackend* new_font_backend();
std::shared_ptr<CairoFont> backend_font(FontBackend& backend, const LogFont& logfont);
size_t backend_cached_fonts(const FontBackend& backend);

// The advance of an ANSI character in whole pixels, as GDI measures it:
// from the glyph hinted as for smoothed text.
int font_advance(CairoFont& font, uint8_t character);
// The step from one drawn glyph to the next, as GDI draws page text: from
// the glyph as drawn (for black and white text hinted for black and white,
// which may differ from what GDI measures by a pixel).
int font_drawn_advance(CairoFont& font, uint8_t character);
// GetTextExtentPoint32A: the sum of the advances by the font's height.
SurfaceSize font_extent(CairoFont& font, const char* text, int count);

}  // namespace vell
